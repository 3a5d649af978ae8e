#include "MainMenu.h"

namespace app {

namespace {
MenuItemDef item(const char* component, const char* caption) {
    return {QString::fromLatin1(component), QString::fromUtf8(caption)};
}
MenuItemDef separator() { return {}; }
} // namespace

const QList<MenuDef>& mainMenus() {
    static const QList<MenuDef> menus = {
        {QStringLiteral("【系统维护】"),
         {item("N2", "操作员设置"), item("N3", "修改操作员口令"), item("N4", "更换操作员"),
          separator(), item("N18", "公司信息"), separator(), item("N11", "数据初始化"),
          item("N6", "数据备份"), item("N7", "数据恢复"), separator(), item("N41", "记帐时间"),
          item("N54", "界面初始化"), separator(), item("N9", "退出系统")}},
        {QStringLiteral("【现金日记帐】"),
         {item("N24", "现金日记帐"), separator(), item("N19", "摘要设置"), separator(),
          item("N49", "现金统计(按月份)"), item("N39", "现金统计(按摘要)"),
          item("N12", "现金统计(按凭证号+摘要)"), separator(), item("N63", "资金日报表"),
          item("N64", "导入日记帐")}},
        {QStringLiteral("【银行日记帐】"),
         {item("N14", "银行日记帐"), separator(), item("N16", "开户银行设置"), separator(),
          item("N22", "银行帐统计(按月份)"), item("N23", "银行帐统计(按摘要)"),
          item("N25", "银行帐统计(按凭证号+摘要)"), separator(), item("N60", "银行对账单"),
          item("N61", "银行对账"), item("N62", "余额调节表"), separator(),
          item("N65", "资金日报表"), item("N66", "导入日记帐")}},
        {QStringLiteral("【帮助】"),
         {item("N27", "帮助系统"),
          {QStringLiteral("N28"), QStringLiteral("访问我们网址"), false, false},
          separator(), item("N32", "关于......")}},
    };
    return menus;
}

const QList<ToolButtonDef>& toolButtons() {
    using ui::artwork::ToolPicture;
    static const QList<ToolButtonDef> buttons = {
        {QStringLiteral("SpeedButton8"), QStringLiteral("现金日记帐"), ToolPicture::CashJournal,
         QStringLiteral("N24")},
        {QStringLiteral("SpeedButton4"), QStringLiteral("现金摘要统计"), ToolPicture::CashSummaryStats,
         QStringLiteral("N39")},
        {QStringLiteral("SpeedButton2"), QStringLiteral("现金月份统计"), ToolPicture::CashMonthStats,
         QStringLiteral("N49")},
        {QStringLiteral("SpeedButton6"), QStringLiteral("银行日记帐"), ToolPicture::BankJournal,
         QStringLiteral("N14"), true},
        {QStringLiteral("SpeedButton1"), QStringLiteral("银行摘要统计"), ToolPicture::BankSummaryStats,
         QStringLiteral("N23")},
        {QStringLiteral("SpeedButton3"), QStringLiteral("银行月份统计"), ToolPicture::BankMonthStats,
         QStringLiteral("N22")},
        {QStringLiteral("SpeedButton7"), QStringLiteral("退出"), ToolPicture::Exit, QStringLiteral("N9"),
         true},
    };
    return buttons;
}

} // namespace app
