#include "ImportFileReader.h"

#include "XlsSheetReader.h"
#include "XlsWorkbookReader.h"
#include "XlsxSheetReader.h"

#include "FormulaGuard.h"
#include "GbkText.h"
#include "store/SystemErrorText.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace lists {

namespace {

// The text of a file a spreadsheet or this program wrote: UTF-8 after its
// byte-order mark, UTF-8 when the bytes are valid UTF-8, otherwise GBK (what
// the program's exports hold), otherwise GB18030 (what a spreadsheet saves
// under that name when a value holds the euro sign or an emoji); nothing
// when it is none of them.
std::optional<QString> decodeImportText(const QByteArray& bytes) {
    const bool marked = bytes.startsWith("\xEF\xBB\xBF");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(marked ? bytes.mid(3) : bytes);
    if (!utf8.hasError())
        return text;
    // A file that announces UTF-8 is not read as anything else.
    if (marked)
        return std::nullopt;
    if (std::optional<QString> gbk = fromGbk(bytes))
        return gbk;
    return fromGb18030(bytes);
}

// The separator that the first line holding any holds most of; a tab wins a
// tie, then ";". Lines above a table (a bank's account and period) may hold none.
QChar separatorOf(const QString& text) {
    int tabs = 0, semicolons = 0, commas = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')) &&
                 tabs + semicolons + commas > 0)
            break;
        else if (!quoted && c == QLatin1Char('\t'))
            ++tabs;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
    }
    if (tabs >= semicolons && tabs >= commas)
        return QLatin1Char('\t');
    return semicolons >= commas ? QLatin1Char(';') : QLatin1Char(',');
}

bool isLineEnd(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

QList<ImportRow> readDelimitedText(const QString& text, const QString& path) {
    const QChar separator = separatorOf(text);
    // The program's text export separates with tabs and never quotes (it
    // writes a tab or line break inside a value as a blank), so there a
    // double quote is text like any other, wherever it stands.
    const bool quoting = separator != QLatin1Char('\t');
    QList<ImportRow> rows;
    const qsizetype n = text.size();
    qsizetype i = 0;
    int line = 1;
    // A line break: CR LF, LF or CR alone; counted once.
    auto skipLineEnd = [&] {
        if (text[i] == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        ++i;
        ++line;
    };
    qsizetype values = 0;
    while (i < n) {
        ImportRow row;
        row.line = line;
        const qsizetype start = i;
        for (;;) {
            QString cell;
            if (quoting && i < n && text[i] == QLatin1Char('"')) {
                ++i;
                while (i < n) {
                    if (text[i] == QLatin1Char('"')) {
                        if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                            cell += QLatin1Char('"');
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (isLineEnd(text[i])) {
                        const qsizetype from = i;
                        skipLineEnd();
                        cell += text.mid(from, i - from);
                        continue;
                    }
                    cell += text[i++];
                }
                // Text after the closing quote belongs to the value, as spreadsheets read it.
                while (i < n && text[i] != separator && !isLineEnd(text[i]))
                    cell += text[i++];
            } else {
                const qsizetype from = i;
                while (i < n && text[i] != separator && !isLineEnd(text[i]))
                    ++i;
                cell = text.mid(from, i - from);
            }
            // The text exports guard a value a spreadsheet would evaluate with a "'".
            row.cells << (cell.isEmpty() ? QString() : withoutFormulaGuard(cell));
            if (row.cells.size() > kMaxImportRowValues)
                throw ImportFileError(QStringLiteral("文件 %1 第 %2 行有 %3 个以上的值，不能导入！")
                                          .arg(path)
                                          .arg(row.line)
                                          .arg(kMaxImportRowValues));
            if (++values > kMaxImportValues)
                throw ImportFileError(QStringLiteral("文件 %1 有 %2 个以上的值，不能导入！")
                                          .arg(path)
                                          .arg(kMaxImportValues));
            if (i < n && text[i] == separator) {
                ++i;
                continue;
            }
            break;
        }
        row.text = text.mid(start, i - start);
        if (i < n)
            skipLineEnd();
        rows << row;
    }
    return rows;
}

} // namespace

QList<ImportRow> readImportFile(const QString& path) {
    // A device such as /dev/zero never ends, and opening a pipe waits for a writer.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw ImportFileError(QStringLiteral("%1 不是普通文件，不能导入！").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ImportFileError(
            QStringLiteral("不能打开文件 %1：%2").arg(path, store::deviceErrorText(file)));
    const ImportFileError tooLarge(
        QStringLiteral("文件 %1 大于 %2 MB，不能导入！").arg(path).arg(kMaxImportFileBytes >> 20));
    if (file.size() > kMaxImportFileBytes)
        throw tooLarge;
    const QByteArray bytes = file.readAll();
    if (bytes.size() > kMaxImportFileBytes) // grown while read
        throw tooLarge;
    return readImportBytes(bytes, path);
}

QList<ImportRow> readImportBytes(const QByteArray& bytes, const QString& path) {
    QList<ImportRow> rows;
    QString problem;
    std::optional<QList<QStringList>> sheet;
    const bool worksheet = XlsSheetReader::isWorksheet(bytes) ||
                           XlsWorkbookReader::isWorkbook(bytes) ||
                           XlsxSheetReader::isWorkbook(bytes);
    if (XlsSheetReader::isWorksheet(bytes))
        sheet = XlsSheetReader::read(bytes, &problem);
    else if (XlsWorkbookReader::isWorkbook(bytes))
        sheet = XlsWorkbookReader::read(bytes, &problem);
    else if (XlsxSheetReader::isWorkbook(bytes))
        sheet = XlsxSheetReader::read(bytes, &problem);
    if (worksheet) {
        if (!sheet)
            throw ImportFileError(QStringLiteral("不能读取工作表 %1：%2").arg(path, problem));
        // A sheet's rows end at their last cell; all have the sheet's width.
        qsizetype width = 0;
        for (const QStringList& cells : *sheet)
            width = std::max(width, cells.size());
        for (qsizetype r = 0; r < sheet->size(); ++r) {
            ImportRow row;
            row.line = int(r + 1);
            row.cells = sheet->at(r);
            row.text = row.cells.join(QLatin1Char('\t'));
            row.cells.resize(width);
            rows << row;
        }
    } else {
        const std::optional<QString> text = decodeImportText(bytes);
        if (!text)
            throw ImportFileError(
                QStringLiteral("文件 %1 既不是 UTF-8 也不是 GBK 或 GB18030 编码的文字").arg(path));
        rows = readDelimitedText(*text, path);
    }
    if (rows.isEmpty())
        throw ImportFileError(QStringLiteral("文件 %1 是空的，没有标题行").arg(path));
    return rows;
}

} // namespace lists
