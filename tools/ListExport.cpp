#include "ListExport.h"

#include "admin/OperatorLayout.h"
#include "journal/CatalogueLayout.h"
#include "journal/JournalKind.h"
#include "journal/JournalLayout.h"
#include "lists/ExportFormat.h"
#include "lists/ExportStream.h"
#include "lists/SnapshotBuilder.h"
#include "lists/XlsExportWriter.h"
#include "store/BookkeepingPeriod.h"
#include "store/Connection.h"
#include "store/EngineError.h"
#include "store/Query.h"
#include "store/Statement.h"
#include "store/SystemErrorText.h"
#include "store/WholeFile.h"
#include "ui/Fonts.h"

#include <QRegularExpression>
#include <QSaveFile>

namespace tools {

namespace {

struct ListPlan {
    QStringList sql;
    lists::ListWindowTraits traits;
    QList<lists::GridColumn> columns;
};

ListPlan planFor(ExportList list, const QDate& month, const QString& bankAccount) {
    using journal::JournalKind;
    switch (list) {
    case ExportList::CashMonth:
    case ExportList::BankMonth: {
        const JournalKind kind = list == ExportList::CashMonth ? JournalKind::Cash : JournalKind::Bank;
        const store::BookkeepingPeriod period(store::DateTime::fromDate(month));
        return {journal::monthQuery(kind, period, bankAccount), journal::journalTraits(kind),
                journal::journalColumns(kind)};
    }
    case ExportList::Summaries:
        return {{QStringLiteral("select * from 摘要")}, journal::summaryTraits(),
                journal::summaryColumns()};
    case ExportList::BankAccounts:
        return {{QStringLiteral("select * from 开户银行")}, journal::bankAccountTraits(),
                journal::bankAccountColumns()};
    case ExportList::Operators:
        return {{QStringLiteral("select * from 权限表 order by 姓名")}, admin::operatorTraits(),
                admin::operatorColumns()};
    }
    return {};
}

// The grid of a list window draws its cells, titles and footer this way.
lists::GridStyle styleFor(const lists::ListWindowTraits& traits) {
    lists::GridStyle style;
    style.cellFont = ui::songFont(traits.cellPixels);
    style.titleFont = style.cellFont;
    style.footerFont = ui::songFont(traits.footerPixels);
    style.dichromatic = traits.checkBoxes; // "区分列表" starts checked where the window has it
    style.threeDimensionalFrame = traits.threeDimensionalFrame;
    return style;
}

} // namespace

std::optional<ExportList> exportListNamed(const QString& name) {
    static const std::pair<const char*, ExportList> names[] = {
        {"cash-month", ExportList::CashMonth}, {"bank-month", ExportList::BankMonth},
        {"summaries", ExportList::Summaries},  {"banks", ExportList::BankAccounts},
        {"operators", ExportList::Operators},
    };
    for (const auto& [text, list] : names) {
        if (name == QLatin1String(text))
            return list;
    }
    return std::nullopt;
}

std::optional<int> exportTypeNamed(const QString& extension) {
    for (int type = 1; type <= 5; ++type) {
        if (extension == lists::exportExtension(type))
            return type;
    }
    return std::nullopt;
}

std::optional<QDate> monthNamed(const QString& text) {
    static const QRegularExpression form(QStringLiteral(R"(^(\d{4})-(\d{1,2})$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate first(m.captured(1).toInt(), m.captured(2).toInt(), 1);
    if (!first.isValid() || first.year() < 1)
        return std::nullopt;
    return first;
}

QDate closingMonth(store::Connection& connection) {
    store::Query q(&connection);
    q.openWith({QStringLiteral("select * from 关帐日期")});
    const store::DateTime closing = q.fieldByName(QStringLiteral("关帐日期")).asDateTime();
    return store::BookkeepingPeriod(closing).firstDay();
}

bool hasBankAccount(store::Connection& connection, const QString& account) {
    store::Statement s(connection.database(),
                       QStringLiteral("select count(*) from 开户银行 where 项目 = ?"));
    s.bindText(1, account);
    return s.step() && s.int64(0) > 0;
}

ListSnapshot listSnapshot(store::Connection& connection, ExportList list, const QDate& month,
                          const QString& bankAccount, bool forPrint) {
    const ListPlan plan = planFor(list, month, bankAccount);
    store::Query query(&connection);
    query.openWith(plan.sql);
    lists::GridStyle style = styleFor(plan.traits);
    if (forPrint)
        style.dichromatic = false; // "打印" unchecks "区分列表" while it builds the document
    return {plan.traits, lists::buildSnapshot(query, plan.columns, style)};
}

ExportSummary exportList(store::Connection& connection, const ExportRequest& request) {
    const lists::TableSnapshot snapshot =
        listSnapshot(connection, request.list, request.month, request.bankAccount).snapshot;
    const int cutLabels = writeExportFile(request.type, snapshot, request.path);
    return {int(snapshot.rows.size()), cutLabels};
}

int writeExportFile(int type, const lists::TableSnapshot& snapshot, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw store::EngineError(
            QStringLiteral("Cannot create file %1: %2").arg(path, store::deviceErrorText(file)));
    int cutLabels = 0;
    try {
        cutLabels = lists::writeExport(type, snapshot, file);
    } catch (const lists::XlsTooManyRows&) {
        file.cancelWriting();
        throw store::EngineError(
            QStringLiteral("%1 条记录太多，Excel 工作表最多只能保存 %2 条记录")
                .arg(snapshot.rows.size())
                .arg(lists::XlsMaxRecords));
    } catch (const lists::ExportWriteError& e) {
        file.cancelWriting();
        throw store::EngineError(QStringLiteral("不能写入文件 %1：%2").arg(path, e.message()));
    }
    if (const QString reason = store::commitWholeFile(file); !reason.isEmpty())
        throw store::EngineError(QStringLiteral("不能写入文件 %1：%2").arg(path, reason));
    return cutLabels;
}

} // namespace tools
