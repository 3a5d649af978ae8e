#include "TForm_gsxx_edit.h"

#include "store/EngineError.h"
#include "ui/DBEdit.h"
#include "ui/DBMemo.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace admin {

namespace {
constexpr int kFieldWidth = 320;
}

TForm_gsxx_edit::TForm_gsxx_edit(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form_gsxx_edit"));
    setWindowTitle(QStringLiteral("公司信息编辑"));
    setModal(true);

    ui::DataSource* source = &ui::Dm1->ds_gsxx;
    auto* grid = new QGridLayout;
    QList<QWidget*> chain;
    auto addRow = [&](const char* caption, QWidget* field) {
        const int row = grid->rowCount();
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setObjectName(QStringLiteral("Label%1").arg(row + 1));
        label->setBuddy(field);
        grid->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignTop);
        grid->addWidget(field, row, 1);
        chain << field;
    };
    auto bindEdit = [&](const char* objectName, const char* column, const char* caption) {
        auto* edit = new ui::DBEdit(this);
        edit->setObjectName(QLatin1String(objectName));
        edit->setDataSource(source);
        edit->setDataField(QString::fromUtf8(column));
        edit->setMinimumWidth(kFieldWidth);
        addRow(caption, edit);
        return edit;
    };
    m_name = bindEdit("DBEdit7", "公司名称", "公司名称：");
    bindEdit("DBEdit1", "公司地址", "公司地址：");
    bindEdit("DBEdit4", "联系电话", "联系电话：");
    bindEdit("DBEdit3", "联系人", "联系人：");
    bindEdit("DBEdit2", "邮政编码", "邮政编码：");
    m_title = bindEdit("DBEdit5", "系统标题", "系统标题：");
    // Two lines high, so that a long banner text can be read whole.
    m_banner = new ui::DBMemo(this);
    m_banner->setObjectName(QStringLiteral("DBEdit6"));
    m_banner->setDataSource(source);
    m_banner->setDataField(QStringLiteral("动态文字"));
    m_banner->setTabChangesFocus(true);
    m_banner->setFixedHeight(m_banner->fontMetrics().lineSpacing() * 2 + 12);
    addRow("动态文字：", m_banner);

    auto* save = new QPushButton(QStringLiteral("保存 (&S)"), this);
    save->setObjectName(QStringLiteral("bitbtn2"));
    save->setAutoDefault(false);
    m_save = save;
    auto* back = new QToolButton(this);
    back->setObjectName(QStringLiteral("SpeedButton2"));
    back->setText(QStringLiteral("返回 (&R)"));
    back->setMinimumSize(save->sizeHint());
    m_back = back;

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addSpacing(16);
    buttons->addWidget(back);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (int i = 0; i + 1 < chain.size(); ++i)
        ui::enterMovesTo(chain[i], chain[i + 1]);
    ui::enterClicks(m_banner, m_save);
    connect(m_save, &QAbstractButton::clicked, this, &TForm_gsxx_edit::save);
    connect(m_back, &QAbstractButton::clicked, this, [this] { done(QDialog::Rejected); });
    m_name->setFocus();
}

void TForm_gsxx_edit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_name->setFocus();
}

void TForm_gsxx_edit::save() {
    store::Query& q = ui::Dm1->q_gsxx;
    // On an empty table this starts the row that the post inserts.
    q.edit();
    q.updateRecord();
    if (q.fieldByName(QStringLiteral("系统标题")).asString().trimmed().isEmpty()) {
        ui::warn(this, QStringLiteral("系统标题不能为空,请重新输入!"));
        m_title->setFocus();
        return;
    }
    try {
        q.post();
    } catch (const store::EngineError& e) {
        q.cancel();
        ui::showError(this, e.message());
    }
}

} // namespace admin
