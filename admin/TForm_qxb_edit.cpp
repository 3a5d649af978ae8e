#include "TForm_qxb_edit.h"

#include "store/EngineError.h"
#include "store/Query.h"
#include "ui/DBComboBox.h"
#include "ui/DBEdit.h"
#include "ui/DBMemo.h"
#include "ui/InputMethods.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace admin {

namespace {
constexpr int kClientWidth = 476;
constexpr int kClientHeight = 269;
} // namespace

TForm_qxb_edit::TForm_qxb_edit(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_leaveRowCheck(&ui::Dm1->q_qxb, [this] { return save(); }) {
    setObjectName(QStringLiteral("Form_qxb_edit"));
    setWindowTitle(QStringLiteral("操作员编辑"));
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);

    ui::DataSource* source = &ui::Dm1->ds_qxb;
    auto bindEdit = [this, source](const char* objectName, const char* field) {
        auto* edit = new ui::DBEdit(this);
        edit->setObjectName(QLatin1String(objectName));
        edit->setDataSource(source);
        edit->setDataField(QString::fromUtf8(field));
        return edit;
    };
    m_name = bindEdit("DBEdit1", "姓名");
    m_identity = bindEdit("DBEdit2", "身份证号");
    m_telephone = bindEdit("DBEdit3", "联系电话");
    m_inputMethod = new ui::DBComboBox(this);
    m_inputMethod->setObjectName(QStringLiteral("DBComboBox1"));
    m_inputMethod->addItems(ui::InputMethods::installedSorted());
    m_inputMethod->setDataSource(source);
    m_inputMethod->setDataField(QStringLiteral("输入法"));
    m_note = new ui::DBMemo(this);
    m_note->setObjectName(QStringLiteral("DBMemo1"));
    m_note->setDataSource(source);
    m_note->setDataField(QStringLiteral("备注"));
    m_note->setFixedHeight(m_note->fontMetrics().lineSpacing() * 2 + 10);

    // The name and the note are typed in the logged-in operator's language.
    ui::InputMethods::assign(m_name, ui::Dm1->login.inputMethod);
    ui::InputMethods::assign(m_note, ui::Dm1->login.inputMethod);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("姓名："), m_name);
    form->addRow(QStringLiteral("身份证号："), m_identity);
    form->addRow(QStringLiteral("联系电话："), m_telephone);
    form->addRow(QStringLiteral("输入法："), m_inputMethod);
    form->addRow(QStringLiteral("备注："), m_note);

    auto makeButton = [this](const char* objectName, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(objectName));
        button->setAutoDefault(false);
        return button;
    };
    m_add = makeButton("bitbtn_add", QStringLiteral("增加 (&A)"));
    m_save = makeButton("bitbtn_save", QStringLiteral("存盘 (&S)"));
    m_cancel = makeButton("bitbtn_cancel", QStringLiteral("取消 (&C)"));
    m_close = makeButton("bitbtn_close", QStringLiteral("返回 (&R)"));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_add, m_save, m_cancel, m_close})
        buttons->addWidget(b);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addSpacing(12);
    layout->addLayout(buttons);

    ui::enterMovesTo(m_name, m_identity);
    ui::enterMovesTo(m_identity, m_telephone);
    ui::enterMovesTo(m_telephone, m_inputMethod);
    ui::enterMovesTo(m_inputMethod, m_note);
    connect(m_add, &QPushButton::clicked, this, &TForm_qxb_edit::add);
    connect(m_save, &QPushButton::clicked, this, &TForm_qxb_edit::save);
    connect(m_cancel, &QPushButton::clicked, this, &TForm_qxb_edit::cancelChange);
    connect(m_close, &QPushButton::clicked, this, &TForm_qxb_edit::closeEditor);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_name->setFocus();
}

void TForm_qxb_edit::setAdding(bool adding) {
    m_add->setEnabled(!adding);
    m_close->setEnabled(!adding);
}

bool TForm_qxb_edit::nameAccepted() {
    const QString name = ui::Dm1->q_qxb.fieldByName(QStringLiteral("姓名")).asString();
    if (!name.isEmpty() && !name.trimmed().isEmpty())
        return true;
    // A name of blanks only could never be chosen at the login, whose list trims it.
    ui::warn(this, name.isEmpty() ? QStringLiteral("姓名不能为空,请重新输入!")
                                  : QStringLiteral("姓名不能全为空格,请重新输入!"));
    m_name->setFocus();
    return false;
}

void TForm_qxb_edit::add() {
    store::Query& q = ui::Dm1->q_qxb;
    q.updateRecord();
    if (!nameAccepted())
        return;
    q.append(); // a changed row is saved first
    if (q.state() != store::QueryState::Insert)
        return;
    setAdding(true);
    m_name->setFocus();
}

bool TForm_qxb_edit::save() {
    store::Query& q = ui::Dm1->q_qxb;
    q.edit();
    q.updateRecord();
    if (!nameAccepted())
        return false;
    try {
        q.fieldByName(QStringLiteral("操作员")).setString(ui::Dm1->login.operatorName);
        q.fieldByName(QStringLiteral("操作日期")).setDateTime(store::DateTime::now());
        q.post();
    } catch (const store::EngineError& e) {
        q.cancel();
        ui::showError(this, e.message());
    }
    setAdding(false);
    return true;
}

void TForm_qxb_edit::cancelChange() {
    ui::Dm1->q_qxb.cancel();
    setAdding(false);
}

void TForm_qxb_edit::closeEditor() {
    ui::Dm1->q_qxb.cancel();
    done(QDialog::Rejected);
}

} // namespace admin
