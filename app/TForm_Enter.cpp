#include "TForm_Enter.h"

#include "LoginDelay.h"
#include "TForm_password.h"

#include "store/EngineError.h"
#include "store/OperatorPassword.h"

#include "ui/Artwork.h"
#include "ui/DBLookupComboBox.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace app {

TForm_Enter::TForm_Enter(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form_Enter"));
    setWindowTitle(QStringLiteral("系统登录"));
    setModal(true);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(ui::artwork::loginPicture());

    m_operators = new ui::DBLookupComboBox(this);
    m_operators->setObjectName(QStringLiteral("DBLookupComboBox1"));
    m_operators->setListSource(&ui::Dm1->ds_qxb);
    m_operators->setListField(QStringLiteral("姓名"));
    m_operators->setKeyField(QStringLiteral("姓名"));
    m_operators->setDropDownRows(8);
    m_operators->setMinimumWidth(150);

    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("Edit1"));
    ui::makePasswordField(m_password, TForm_password::passwordLength);

    m_ok = new QPushButton(QStringLiteral("确认"), this);
    m_ok->setObjectName(QStringLiteral("bitbtn_ok"));
    m_ok->setAutoDefault(false);
    m_cancel = new QPushButton(QStringLiteral("终止"), this);
    m_cancel->setObjectName(QStringLiteral("bitbtn_cancel"));
    m_cancel->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("操作员："), this), 0, 0);
    fields->addWidget(m_operators, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("操作口令："), this), 1, 0);
    fields->addWidget(m_password, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* right = new QVBoxLayout;
    right->addStretch();
    right->addLayout(fields);
    right->addSpacing(12);
    right->addLayout(buttons);
    right->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(picture);
    layout->addSpacing(8);
    layout->addLayout(right);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ui::enterMovesTo(m_operators, m_password);
    ui::enterClicks(m_password, m_ok);
    connect(m_ok, &QPushButton::clicked, this, &TForm_Enter::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &TForm_Enter::terminate);
    m_operators->setFocus();
}

void TForm_Enter::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui::Dm1->login.loginAttempts = 0;
    // Failures of earlier runs still count: a restart gives no quicker try.
    m_failures = LoginDelay::failures(ui::Dm1->ADO_xjrjz);
    holdTries();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_operators->setFocus();
}

bool TForm_Enter::failedAttempt() {
    ui::LoginState& login = ui::Dm1->login;
    ++login.loginAttempts;
    if (login.loginAttempts > 2) {
        terminate();
        return true;
    }
    return false;
}

void TForm_Enter::confirm() {
    ui::TDm1& dm = *ui::Dm1;
    if (m_operators->text().trimmed().isEmpty()) {
        if (failedAttempt())
            return;
        ui::warn(this, QStringLiteral("请选择操作人员！  "));
        m_operators->setFocus();
        return;
    }
    const QString stored = dm.q_qxb.fieldByName(QStringLiteral("操作口令")).asString();
    if (store::operatorPassword::matches(m_password->text(), stored)) {
        if (store::operatorPassword::isClear(stored))
            hashClearPassword();
        LoginDelay::clear(dm.ADO_xjrjz);
        dm.login.operatorName = dm.q_qxb.fieldByName(QStringLiteral("姓名")).asString();
        dm.login.operatorPassword = m_password->text();
        dm.login.inputMethod = dm.q_qxb.fieldByName(QStringLiteral("输入法")).asString();
        accept();
        return;
    }
    m_failures = LoginDelay::addFailure(dm.ADO_xjrjz, m_failures);
    if (failedAttempt())
        return;
    holdTries();
    ui::warn(this, QStringLiteral("密码不对，第%1次！  ").arg(dm.login.loginAttempts));
    m_password->clear();
    m_password->setFocus();
}

void TForm_Enter::holdTries() {
    const std::chrono::milliseconds wait = LoginDelay::after(m_failures);
    if (wait.count() == 0)
        return;
    m_ok->setEnabled(false);
    LoginDelay::wait(wait, this, [this] { m_ok->setEnabled(true); });
}

void TForm_Enter::hashClearPassword() {
    // An older book keeps the password in clear; the login that proves it replaces it by its
    // hash. A book that refuses the write (read-only) keeps it until a later login.
    store::Query& operators = ui::Dm1->q_qxb;
    try {
        operators.edit();
        operators.fieldByName(QStringLiteral("操作口令"))
            .setString(store::operatorPassword::toStored(m_password->text()));
        operators.post();
    } catch (const store::EngineError&) {
        operators.cancel();
    }
}

void TForm_Enter::terminate() {
    // At start-up nobody is logged in yet: leaving the login ends the program.
    if (!ui::Dm1->login.loggedIn && parentWidget())
        parentWidget()->window()->close();
    done(QDialog::Rejected);
}

} // namespace app
