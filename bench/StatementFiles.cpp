#include "StatementFiles.h"

#include "store/Connection.h"
#include "store/Currency.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/Statement.h"

#include <QFile>
#include <QHash>

#include <quazip.h>
#include <quazipfile.h>

namespace bench {

namespace {

using store::Currency;

QString amountText(Currency amount) {
    return amount.isZero() ? QString() : amount.toString();
}

QByteArray xmlEscaped(const QString& text) {
    return text.toHtmlEscaped().toUtf8();
}

QByteArray columnName(int column) {
    return QByteArray(1, char('A' + column));
}

void addPart(QuaZip& zip, const QString& name, const QByteArray& bytes) {
    QuaZipFile file(&zip);
    file.open(QIODevice::WriteOnly, QuaZipNewInfo(name));
    file.write(bytes);
    file.close();
}

} // namespace

QList<QStringList> statementRows(store::Connection& connection, const QString& account, int lines) {
    QList<QStringList> rows = {{QStringLiteral("交易日期"), QStringLiteral("摘要"),
                                QStringLiteral("收入金额"), QStringLiteral("支出金额"),
                                QStringLiteral("余额"), QStringLiteral("对方户名"),
                                QStringLiteral("流水号")}};
    Currency balance;
    QDate day(2017, 1, 1);
    int fees = 0;
    const auto add = [&](const QDate& date, const QString& text, Currency in, Currency out,
                         const QString& party, const QString& reference) {
        balance = balance + in - out;
        rows.append({date.toString(QStringLiteral("yyyy-MM-dd")), text, amountText(in),
                     amountText(out), balance.toString(), party, reference});
    };
    const auto addFee = [&] {
        ++fees;
        add(day, QStringLiteral("手续费"), Currency(),
            Currency::fromRaw(25000 + (fees % 7) * 10000), QString(),
            QStringLiteral("FE%1").arg(fees, 8, 10, QLatin1Char('0')));
    };
    store::Statement entries(
        connection.database(),
        QStringLiteral("select 编号, 日期, 摘要, 借方, 贷方, 发票单位 from 银行日记帐 "
                       "where 开户银行 = ? order by 日期, 编号"));
    entries.bindText(1, account);
    int n = 0;
    while (rows.size() <= lines && entries.step()) {
        day = store::DateTime::fromSerial(entries.real(1)).date().addDays(n % 7 == 6 ? 1 : 0);
        const Currency debit = Currency::fromRaw(entries.int64(3));
        const Currency credit = Currency::fromRaw(entries.int64(4));
        add(day, entries.text(2), debit, credit, entries.text(5),
            QStringLiteral("B%1").arg(entries.int64(0)));
        if (++n % 4 == 0 && rows.size() <= lines)
            addFee();
    }
    while (rows.size() <= lines)
        addFee();
    return rows;
}

void writeStatementCsv(const QString& path, const QList<QStringList>& rows) {
    QByteArray out = "\xEF\xBB\xBF账户明细查询\r\n账号：6222021001008888123\r\n";
    for (const QStringList& row : rows) {
        QStringList cells = row;
        for (int c = 2; c <= 4 && c < cells.size(); ++c) {
            if (const std::optional<Currency> amount = Currency::parse(cells[c]))
                cells[c] = QLatin1Char('"') + amount->format(2, true) + QLatin1Char('"');
        }
        out += cells.join(QLatin1Char(',')).toUtf8() + "\r\n";
    }
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(out);
}

void writeStatementXlsx(const QString& path, const QList<QStringList>& rows) {
    // Texts go in the shared table, as the spreadsheets write them.
    QHash<QString, int> shared;
    QByteArray strings;
    QByteArray sheet =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet xmlns=\"http://schemas."
        "openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
    for (int r = 0; r < rows.size(); ++r) {
        sheet += "<row r=\"" + QByteArray::number(r + 1) + "\">";
        for (int c = 0; c < rows[r].size(); ++c) {
            const QString& text = rows[r][c];
            if (text.isEmpty())
                continue;
            const QByteArray place = columnName(c) + QByteArray::number(r + 1);
            if (r > 0 && c >= 2 && c <= 4) {
                sheet += "<c r=\"" + place + "\"><v>" + text.toUtf8() + "</v></c>";
                continue;
            }
            auto it = shared.find(text);
            if (it == shared.end()) {
                it = shared.insert(text, int(shared.size()));
                strings += "<si><t>" + xmlEscaped(text) + "</t></si>";
            }
            sheet +=
                "<c r=\"" + place + "\" t=\"s\"><v>" + QByteArray::number(it.value()) + "</v></c>";
        }
        sheet += "</row>";
    }
    sheet += "</sheetData></worksheet>";
    QFile::remove(path);
    QuaZip zip(path);
    zip.open(QuaZip::mdCreate);
    addPart(zip, QStringLiteral("xl/workbook.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook "
            "xmlns:r=\"http://schemas.openxmlformats.org/"
            "officeDocument/2006/relationships\"><sheets><sheet name=\"明细\" sheetId=\"1\" "
            "r:id=\"rId1\"/>"
            "</sheets></workbook>");
    addPart(
        zip, QStringLiteral("xl/_rels/workbook.xml.rels"),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/"
        "package/2006/relationships\"><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/>"
        "</Relationships>");
    addPart(
        zip, QStringLiteral("xl/sharedStrings.xml"),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst xmlns=\"http://schemas.openxmlformats.org/"
        "spreadsheetml/2006/main\">" +
            strings + "</sst>");
    addPart(zip, QStringLiteral("xl/worksheets/sheet1.xml"), sheet);
    zip.close();
}

} // namespace bench
