#include "TForm_password.h"

#include "store/EngineError.h"
#include "store/OperatorPassword.h"
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

TForm_password::TForm_password(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form_password"));
    setWindowTitle(QStringLiteral("修改当前操作员口令"));
    setModal(true);

    auto* nameCaption = new QLabel(QStringLiteral("用户名称："), this);
    nameCaption->setObjectName(QStringLiteral("Label4"));
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("Label5"));
    auto makeField = [this](const char* name) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QLatin1String(name));
        ui::makePasswordField(field, passwordLength);
        return field;
    };
    m_old = makeField("MaskEdit3");
    m_new = makeField("MaskEdit1");
    m_confirm = makeField("MaskEdit2");
    m_save = new QPushButton(QStringLiteral("保存"), this);
    m_save->setObjectName(QStringLiteral("bitbtn_ok"));
    m_save->setAutoDefault(false);
    m_back = new QPushButton(QStringLiteral("返回"), this);
    m_back->setObjectName(QStringLiteral("bitbtn1"));
    m_back->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(nameCaption, 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("旧口令："), this), 1, 0);
    grid->addWidget(m_old, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("新口令："), this), 2, 0);
    grid->addWidget(m_new, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("确认新口令："), this), 3, 0);
    grid->addWidget(m_confirm, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_back);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ui::enterMovesTo(m_old, m_new);
    ui::enterMovesTo(m_new, m_confirm);
    ui::enterClicks(m_confirm, m_save);
    connect(m_save, &QPushButton::clicked, this, &TForm_password::save);
    connect(m_back, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    m_old->setFocus();
}

void TForm_password::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_name->setText(ui::Dm1->login.operatorName);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_old->setFocus();
}

void TForm_password::save() {
    ui::TDm1& dm = *ui::Dm1;
    if (m_old->text() != dm.login.operatorPassword) {
        ui::warn(this, QStringLiteral("旧操作口令不正确,请重新输入!"));
        m_old->setFocus();
        return;
    }
    if (m_new->text() != m_confirm->text()) {
        ui::warn(this, QStringLiteral("两次输入的操作口令不一致,请重新输入!"));
        m_new->setFocus();
        return;
    }
    if (m_new->text().trimmed().isEmpty()) {
        ui::warn(this, QStringLiteral("没有输入新操作口令,请重新输入!"));
        m_new->setFocus();
        return;
    }
    // Editing an empty result would insert a row holding nothing but a password.
    if (dm.q_qxb.isEmpty()) {
        ui::warn(this, QStringLiteral("当前操作员已不存在,不能修改口令!"));
        return;
    }
    try {
        dm.q_qxb.edit();
        dm.q_qxb.fieldByName(QStringLiteral("操作口令"))
            .setString(store::operatorPassword::toStored(m_new->text()));
        dm.q_qxb.post();
    } catch (const store::EngineError& e) {
        dm.q_qxb.cancel();
        ui::showError(this, e.message());
        return;
    }
    ui::inform(this, QStringLiteral("已经成功的修改了操作口令,请牢记!"));
    dm.login.operatorPassword = m_new->text();
    done(QDialog::Accepted);
}

} // namespace app
