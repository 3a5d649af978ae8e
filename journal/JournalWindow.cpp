#include "JournalWindow.h"

#include "BalanceRecomputation.h"
#include "JournalEditor.h"
#include "JournalLayout.h"
#include "JournalSearch.h"

#include "lists/DataGrid.h"
#include "store/BookkeepingPeriod.h"
#include "store/Query.h"
#include "ui/ChoiceLists.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

namespace journal {

namespace {

const QString kTidyHint = QStringLiteral("提示：当余额出现不正确时，请使用整理功能！");
const QString kEditHint = QStringLiteral("只能编辑记帐时间内的记录；通过查询可以查看其它时间内的记录！");

} // namespace

JournalWindow::JournalWindow(QWidget* owner, JournalKind kind)
    : ListWindow(owner, journalTraits(kind), &ui::Dm1->ds_xjrjz, journalColumns(kind)), m_kind(kind) {
    QToolButton* tidy = addButton(QStringLiteral("SpeedButton6"), QStringLiteral("整理"));
    tidy->setToolTip(QStringLiteral("只能整理当前结算时间的记录"));
    QToolButton* find = addButton(QStringLiteral("SpeedButton5"), QStringLiteral("查询"));
    QToolButton* edit = addButton(QStringLiteral("bitbtn_edit"), QStringLiteral("编辑"));
    arrangeButtons({QStringLiteral("SpeedButton2"), QStringLiteral("SpeedButton6"), QStringLiteral("SpeedButton5"),
                    QStringLiteral("bitbtn_edit"), QStringLiteral("SpeedButton1"), QStringLiteral("SpeedButton3"),
                    QStringLiteral("SpeedButton4")});
    connect(tidy, &QToolButton::clicked, this, &JournalWindow::tidy);
    connect(find, &QToolButton::clicked, this, &JournalWindow::search);
    connect(edit, &QToolButton::clicked, this, &JournalWindow::editEntries);

    auto* hints = new QHBoxLayout;
    auto* label1 = new QLabel(this);
    label1->setObjectName(QStringLiteral("Label1"));
    hints->addWidget(label1);
    if (kind == JournalKind::Cash) {
        label1->setText(kTidyHint);
        auto* label2 = new QLabel(kEditHint, this);
        label2->setObjectName(QStringLiteral("Label2"));
        hints->addSpacing(20);
        hints->addWidget(label2);
    } else {
        label1->setText(QStringLiteral("请先选择开户银行："));
        m_accounts = new QComboBox(this);
        m_accounts->setObjectName(QStringLiteral("ComboBox1"));
        m_accounts->setMinimumWidth(180);
        hints->addWidget(m_accounts);
        connect(m_accounts, &QComboBox::textActivated, this, &JournalWindow::chooseAccount);
        auto* status = new QStatusBar(this);
        status->setObjectName(QStringLiteral("StatusBar1"));
        status->setSizeGripEnabled(false);
        auto* panel = new QLabel(kTidyHint + kEditHint, status);
        status->addWidget(panel, 1);
        mainLayout()->addWidget(status);
    }
    hints->addStretch();
    mainLayout()->insertLayout(1, hints);
}

store::BookkeepingPeriod JournalWindow::period() const {
    return store::BookkeepingPeriod(ui::Dm1->login.closingDate);
}

void JournalWindow::setAccounts(const QStringList& accounts) {
    if (m_accounts)
        ui::setChoices(m_accounts, accounts);
}

QString JournalWindow::chosenAccount() const { return m_accounts ? m_accounts->currentText() : QString(); }

bool JournalWindow::accountChosen() {
    if (m_kind == JournalKind::Cash || !chosenAccount().isEmpty())
        return true;
    ui::warn(this, QStringLiteral("请先选择开户银行!"));
    return false;
}

bool JournalWindow::readyToPrintOrExport() { return accountChosen(); }

QString JournalWindow::exportName() const {
    return m_kind == JournalKind::Bank ? chosenAccount() + traits().exportName : traits().exportName;
}

void JournalWindow::chooseAccount(const QString& account) {
    if (account.isEmpty())
        return;
    ui::Dm1->q_xjrjz.openWith(monthQuery(m_kind, period(), account));
}

void JournalWindow::recompute() {
    BalanceRecomputation::run(ui::Dm1->q_xjrjz, m_kind, period(), chosenAccount());
}

void JournalWindow::tidy() {
    if (!accountChosen())
        return;
    if (!ui::ask(this, QStringLiteral("确实需要整理当前记帐时间月份的记录吗? ")))
        return;
    recompute();
}

void JournalWindow::editEntries() {
    if (!accountChosen())
        return;
    store::Query& q = ui::Dm1->q_xjrjz;
    if (m_kind == JournalKind::Bank && q.isOpen() && !q.isEmpty()) {
        const QString rowAccount = q.fieldByName(QStringLiteral("开户银行")).asString();
        // After a search showing another account, the editor starts on this account's month.
        if (!rowAccount.isEmpty() && rowAccount != chosenAccount())
            q.openWith(monthQuery(m_kind, period(), chosenAccount()));
    }
    {
        std::unique_ptr<JournalEditor> editor;
        if (m_kind == JournalKind::Cash)
            editor = std::make_unique<TForm_xjrjz_edit>(this);
        else
            editor = std::make_unique<TForm_yhrjz_edit>(this);
        editor->setBankAccount(chosenAccount());
        editor->exec();
    }
    recompute();
}

void JournalWindow::search() {
    std::unique_ptr<JournalSearch> dialog;
    if (m_kind == JournalKind::Cash)
        dialog = std::make_unique<TForm_xjrjz_cx>(this);
    else
        dialog = std::make_unique<TForm_yhrjz_cx>(this);
    dialog->setInputMethod(ui::Dm1->login.inputMethod);
    dialog->setSummaries(ui::Dm1->summaryNames());
    if (m_kind == JournalKind::Bank)
        dialog->setBankAccounts(ui::Dm1->bankAccountNames());
    dialog->exec();
}

} // namespace journal
