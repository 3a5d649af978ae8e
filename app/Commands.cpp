#include "Commands.h"

#include "TForm_Enter.h"
#include "TForm_main.h"
#include "TForm_password.h"
#include "Tform_About.h"

#include "admin/AdminCommands.h"
#include "admin/TForm_qxb.h"
#include "journal/JournalImportCommands.h"
#include "journal/JournalWindow.h"
#include "journal/ReconciliationCommands.h"
#include "journal/TForm_khyh.h"
#include "journal/TForm_zy.h"
#include "stats/DailyFundsWindow.h"
#include "stats/StatsWindow.h"
#include "stats/VoucherStatsWindow.h"
#include "store/BookkeepingPeriod.h"
#include "store/SqlText.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QFile>

#include <type_traits>

namespace app {

Commands::Commands(TForm_main& main) : m_main(main) {
    auto bind = [this](void (Commands::*handler)()) { return [this, handler] { (this->*handler)(); }; };
    m_table = {
        {QStringLiteral("N3"), bind(&Commands::ownPassword)},
        {QStringLiteral("N4"), bind(&Commands::changeOperator)},
        {QStringLiteral("N54"), bind(&Commands::interfaceReset)},
        {QStringLiteral("N9"), bind(&Commands::exitProgram)},
        {QStringLiteral("N27"), bind(&Commands::help)},
        {QStringLiteral("N32"), bind(&Commands::about)},
        {QStringLiteral("N18"),
         [this] {
             admin::openCompanyInformation(&m_main, [this](const QString& banner) { m_main.setBannerText(banner); });
         }},
        {QStringLiteral("N41"), [this] { admin::openClosingDate(&m_main); }},
        {QStringLiteral("N2"), bind(&Commands::operators)},
        {QStringLiteral("N24"), bind(&Commands::cashJournal)},
        {QStringLiteral("N39"), [this] { statistics<stats::TForm_xjsytj>(); }},
        {QStringLiteral("N23"), [this] { statistics<stats::TForm_yhsytj>(); }},
        {QStringLiteral("N49"), [this] { statistics<stats::TForm_xjsytj_yf>(); }},
        {QStringLiteral("N22"), [this] { statistics<stats::TForm_yhsytj_yf>(); }},
        {QStringLiteral("N12"), [this] { statistics<stats::TForm_statistics_voucher>(); }},
        {QStringLiteral("N25"), [this] { statistics<stats::TForm_statistics_voucher_yh>(); }},
        {QStringLiteral("N14"), bind(&Commands::bankJournal)},
        {QStringLiteral("N19"), bind(&Commands::summaries)},
        {QStringLiteral("N16"), bind(&Commands::bankAccounts)},
        {QStringLiteral("N11"), [this] { admin::openInitialisation(&m_main); }},
        {QStringLiteral("N6"), [this] { admin::openBackup(&m_main); }},
        {QStringLiteral("N7"), [this] { admin::openRestore(&m_main); }},
        {QStringLiteral("N60"), [this] { journal::openBankStatement(&m_main); }},
        {QStringLiteral("N61"), [this] { journal::openBankMatching(&m_main); }},
        {QStringLiteral("N62"), [this] { journal::openReconciliation(&m_main); }},
        {QStringLiteral("N63"), [this] { stats::openDailyFunds(&m_main, store::JournalKind::Cash); }},
        {QStringLiteral("N65"), [this] { stats::openDailyFunds(&m_main, store::JournalKind::Bank); }},
        {QStringLiteral("N64"),
         [this] { journal::openJournalImport(&m_main, store::JournalKind::Cash); }},
        {QStringLiteral("N66"),
         [this] { journal::openJournalImport(&m_main, store::JournalKind::Bank); }},
    };
    m_table.emplace(QStringLiteral("N28"), [] {}); // hidden and disabled
}

void Commands::run(const QString& component) {
    const auto it = m_table.find(component);
    if (it != m_table.end())
        it->second();
}

void Commands::ownPassword() {
    ui::TDm1& dm = *ui::Dm1;
    dm.q_qxb.openWith({QStringLiteral("select * from 权限表 "),
                       QStringLiteral("where 姓名=") + store::sql::quoted(dm.login.operatorName),
                       QStringLiteral("order by 姓名")});
    {
        TForm_password window(&m_main);
        window.exec();
    }
    dm.q_qxb.close();
}

void Commands::changeOperator() {
    ui::TDm1& dm = *ui::Dm1;
    dm.q_qxb.openWith({QStringLiteral("select * from 权限表 order by 姓名")});
    {
        TForm_Enter window(&m_main);
        window.exec();
    }
    dm.q_qxb.close();
    m_main.showOperator();
}

void Commands::cashJournal() {
    ui::TDm1& dm = *ui::Dm1;
    journal::TForm_xjrjz window(&m_main);
    const store::BookkeepingPeriod period(dm.login.closingDate);
    dm.q_xjrjz.openWith(journal::monthQuery(journal::JournalKind::Cash, period));
    window.exec();
    dm.q_xjrjz.close();
}

void Commands::bankJournal() {
    ui::TDm1& dm = *ui::Dm1;
    journal::TForm_yhrjz window(&m_main);
    window.setAccounts(dm.bankAccountNames());
    dm.q_xjrjz.close();
    window.exec();
    dm.q_xjrjz.close();
}

template <typename Window>
void Commands::statistics() {
    ui::TDm1& dm = *ui::Dm1;
    Window window(&m_main);
    // Every statistics window opens on an empty scratch table.
    dm.q_tongyong.execWith({QStringLiteral("delete from 通用")});
    dm.q_tongyong.openWith({QStringLiteral("select * from "), QStringLiteral("通用")});
    if constexpr (std::is_same_v<Window, stats::TForm_statistics_voucher_yh>)
        window.setBankAccounts(dm.bankAccountNames());
    window.exec();
    dm.q_tongyong.close();
}

void Commands::operators() {
    ui::TDm1& dm = *ui::Dm1;
    admin::TForm_qxb window(&m_main);
    dm.q_qxb.openWith({QStringLiteral("select * from 权限表 order by 姓名")});
    window.exec();
    dm.q_qxb.close();
}

void Commands::summaries() {
    ui::TDm1& dm = *ui::Dm1;
    journal::TForm_zy window(&m_main);
    dm.q_zy.openWith({QStringLiteral("select * from 摘要")});
    window.exec();
    dm.q_zy.close();
}

void Commands::bankAccounts() {
    ui::TDm1& dm = *ui::Dm1;
    journal::TForm_khyh window(&m_main);
    dm.q_khyh.openWith({QStringLiteral("select * from 开户银行")});
    window.exec();
    dm.q_khyh.close();
}

void Commands::interfaceReset() {
    for (const QString& file : {QStringLiteral("system.ini"), QStringLiteral("system1.ini")}) {
        if (QFile::exists(file))
            QFile::remove(file);
    }
    ui::warn(&m_main, QStringLiteral("界面初始化完毕！"));
}

void Commands::help() { ui::warn(&m_main, QStringLiteral("该系统操作非常简单，在窗口中已经有提示！")); }

void Commands::about() {
    Tform_About window(&m_main);
    window.exec();
}

void Commands::exitProgram() { m_main.close(); }

} // namespace app
