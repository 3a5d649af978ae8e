#include "ServerPasswordPrompt.h"

#include "store/BookLocation.h"
#include "store/ServerConnection.h"
#include "ui/KeyRules.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

TForm_fwqkl::TForm_fwqkl(QWidget* owner, const QString& server)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form_fwqkl"));
    setWindowTitle(QStringLiteral("连接数据库服务器"));
    setModal(true);

    auto* serverName = new QLabel(store::shownBookName(server), this);
    serverName->setObjectName(QStringLiteral("Label2"));
    serverName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("Edit1"));
    // Shown as "*" like an operator's password, but taken as typed: a server
    // compares its passwords with their letter case.
    ui::maskInput(m_password);
    m_password->setMinimumWidth(240);
    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setObjectName(QStringLiteral("BitBtn1"));
    m_ok->setAutoDefault(false);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("BitBtn2"));
    m_cancel->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("数据库服务器："), this), 0, 0);
    grid->addWidget(serverName, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("口令："), this), 1, 0);
    grid->addWidget(m_password, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("数据库服务器要求输入口令："), this));
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ui::enterClicks(m_password, m_ok);
    connect(m_ok, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    m_password->setFocus();
}

QString TForm_fwqkl::password() const { return m_password->text(); }

void installServerPasswordPrompt() {
    store::ServerConnection::setPasswordPrompt([](const QString& server) {
        TForm_fwqkl window(QApplication::activeWindow(), server);
        return window.exec() == QDialog::Accepted ? window.password() : QString();
    });
}

} // namespace app
