#include "TForm_initialize.h"

#include "store/Database.h"
#include "store/SafetyCopies.h"
#include "store/Transaction.h"
#include "ui/CopyProgress.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QDateTime>

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace admin {

namespace {
constexpr int kTextWidth = 330;
}

TForm_initialize::TForm_initialize(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form_initialize"));
    setWindowTitle(QStringLiteral("数据初始化"));
    setModal(true);

    auto makeText = [this](const char* objectName, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(objectName));
        label->setWordWrap(true);
        label->setFixedWidth(kTextWidth);
        return label;
    };
    QLabel* note =
        makeText("Label1", QStringLiteral("提示：数据初始化就是清空选中项目数据库中的数据。"));
    QLabel* advice = makeText(
        "Label2", QStringLiteral("  如果用户第一次使用本系统时或者需要清空数据库时，请使用本功能，"
                                 "清除原来的数据，便于录入新的数据。"));
    m_cashJournal = new QCheckBox(QStringLiteral("现金日记帐"), this);
    m_cashJournal->setObjectName(QStringLiteral("CheckBox1"));
    m_summaries = new QCheckBox(QStringLiteral("摘要"), this);
    m_summaries->setObjectName(QStringLiteral("CheckBox2"));
    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setObjectName(QStringLiteral("BitBtn1"));
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("BitBtn2"));
    m_cancel->setDefault(true);

    auto* boxes = new QHBoxLayout;
    boxes->addSpacing(20);
    boxes->addWidget(m_cashJournal);
    boxes->addSpacing(30);
    boxes->addWidget(m_summaries);
    boxes->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addSpacing(16);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(advice);
    layout->addSpacing(8);
    layout->addLayout(boxes);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_ok, &QPushButton::clicked, this, &TForm_initialize::initialise);
    connect(m_cancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
}

void TForm_initialize::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm_initialize::initialise() {
    if (!ui::ask(this, QStringLiteral("要初始化选中的数据库吗? "))) {
        done(QDialog::Rejected);
        return;
    }
    if ((m_cashJournal->isChecked() || m_summaries->isChecked()) && !keepSafetyCopy()) {
        done(QDialog::Rejected);
        return;
    }
    // Both tables are emptied or neither: the deletions are one unit of work.
    store::Query& q = ui::Dm1->q_search;
    try {
        store::Transaction unit(ui::Dm1->ADO_xjrjz.database());
        if (m_cashJournal->isChecked())
            q.execWith({QStringLiteral("delete from 现金日记帐 ")});
        if (m_summaries->isChecked())
            q.execWith({QStringLiteral("delete from 摘要 ")});
        unit.commit();
    } catch (const store::EngineError& e) {
        q.close();
        ui::warn(this, QStringLiteral("初始化没有完成，没有清空任何数据。\n") + e.message());
        done(QDialog::Rejected);
        return;
    }
    q.close();
    ui::warn(this, QStringLiteral("初始化完毕！"));
    done(QDialog::Accepted);
}

// Nothing is emptied without a complete copy of the book to go back to.
bool TForm_initialize::keepSafetyCopy() {
    store::Database& book = ui::Dm1->ADO_xjrjz.database();
    try {
        ui::CopyProgress progress(this, QStringLiteral("正在备份数据库，请稍候……"));
        store::SafetyCopies(book.path())
            .makeInitialisationCopy(book, QDateTime::currentDateTime(), progress.callback());
        return true;
    } catch (const store::EngineError& e) {
        ui::warn(this, QStringLiteral("初始化前的数据库备份没有完成，没有清空任何数据。\n") +
                           e.message());
        return false;
    }
}

} // namespace admin
