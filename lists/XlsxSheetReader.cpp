#include "XlsxSheetReader.h"

#include "ImportFileReader.h"
#include "SheetCells.h"

#include <QBuffer>
#include <QDateTime>
#include <QHash>
#include <QXmlStreamReader>

#include <quazip.h>
#include <quazipfile.h>

#include <algorithm>

namespace lists {

namespace {

const QString kRelationships =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

/// What went wrong, for the one message a read ends with.
struct Refusal {
    QString reason;
};

/// One part of the archive, unpacked whole but never beyond what an import
/// reads of a file: a small archive can unpack to gigabytes.
std::optional<QByteArray> part(QuaZip& zip, const QString& name) {
    if (!zip.setCurrentFile(name))
        return std::nullopt;
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        throw Refusal{QStringLiteral("不能解开其中的 %1").arg(name)};
    QByteArray bytes;
    char chunk[65536];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0)
            throw Refusal{QStringLiteral("不能解开其中的 %1").arg(name)};
        if (n == 0)
            break;
        if (bytes.size() + n > kMaxImportFileBytes)
            throw Refusal{QStringLiteral("其中的 %1 解开后大于 %2 MB")
                              .arg(name)
                              .arg(kMaxImportFileBytes >> 20)};
        bytes.append(chunk, n);
    }
    file.close();
    if (file.getZipError() != UNZ_OK)
        throw Refusal{QStringLiteral("其中的 %1 已损坏").arg(name)};
    return bytes;
}

void failOnXmlError(const QXmlStreamReader& xml, const QString& name) {
    if (xml.hasError())
        throw Refusal{QStringLiteral("其中的 %1 不是完好的 XML：%2").arg(name, xml.errorString())};
}

bool isTrue(QStringView value) {
    return value == u"1" || value == u"true";
}

/// The texts of the <t> elements inside the element the reader stands on,
/// leaving out the phonetic guides (<rPh>) a rich text may carry.
QString runText(QXmlStreamReader& xml) {
    QString text;
    int phonetic = 0;
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (xml.name() == u"rPh")
                ++phonetic;
            else if (xml.name() == u"t" && phonetic == 0) {
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
                --depth;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            if (xml.name() == u"rPh")
                --phonetic;
            break;
        default:
            break;
        }
    }
    return text;
}

QStringList sharedStrings(const QByteArray& bytes) {
    QStringList strings;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            strings << runText(xml);
    }
    failOnXmlError(xml, QStringLiteral("sharedStrings.xml"));
    return strings;
}

/// Whether a number format shows a day: it has a year or day part once the
/// quoted texts, escaped characters and [colour] or [$-locale] sections are
/// left out ("m" alone may be minutes).
bool isDateFormat(const QString& code) {
    bool quoted = false, bracket = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (quoted) {
            quoted = c != QLatin1Char('"');
        } else if (bracket) {
            bracket = c != QLatin1Char(']');
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char('[')) {
            bracket = true;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i;
        } else if (c == QLatin1Char(';')) {
            break; // the first section decides
        } else {
            const QChar lower = c.toLower();
            if (lower == QLatin1Char('y') || lower == QLatin1Char('d') || c == QChar(0x5E74) ||
                c == QChar(0x65E5))
                return true;
        }
    }
    return false;
}

/// The built-in formats that show days: 14-17 and 22 everywhere, 27-36 and
/// 50-58 in the Chinese, Japanese and Korean versions.
bool isBuiltInDateFormat(int id) {
    return (id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58);
}

/// For each cell style (<cellXfs>), whether it shows a number as a day.
QList<bool> dateStyles(const QByteArray& bytes) {
    QHash<int, QString> codes;
    QList<bool> styles;
    QXmlStreamReader xml(bytes);
    bool inCellStyles = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"numFmt") {
            codes.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                         xml.attributes().value(QLatin1String("formatCode")).toString());
        } else if (xml.isStartElement() && xml.name() == u"cellXfs") {
            inCellStyles = true;
        } else if (xml.isEndElement() && xml.name() == u"cellXfs") {
            inCellStyles = false;
        } else if (inCellStyles && xml.isStartElement() && xml.name() == u"xf") {
            const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
            styles << (codes.contains(id) ? isDateFormat(codes.value(id))
                                          : isBuiltInDateFormat(id));
        }
    }
    failOnXmlError(xml, QStringLiteral("styles.xml"));
    return styles;
}

/// The first worksheet's part name and whether its days count from 1904.
std::pair<QString, bool> firstSheet(QuaZip& zip) {
    const std::optional<QByteArray> workbook = part(zip, QStringLiteral("xl/workbook.xml"));
    if (!workbook)
        throw Refusal{QStringLiteral("压缩文件中没有工作簿（xl/workbook.xml），不是 xlsx 文件")};
    QString id;
    bool from1904 = false;
    QXmlStreamReader xml(*workbook);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"workbookPr")
            from1904 = isTrue(xml.attributes().value(QLatin1String("date1904")));
        else if (xml.name() == u"sheet" && id.isEmpty())
            id = xml.attributes().value(kRelationships, QLatin1String("id")).toString();
    }
    failOnXmlError(xml, QStringLiteral("workbook.xml"));
    QString target;
    if (const std::optional<QByteArray> rels =
            part(zip, QStringLiteral("xl/_rels/workbook.xml.rels"))) {
        QXmlStreamReader links(*rels);
        while (!links.atEnd()) {
            links.readNext();
            if (links.isStartElement() && links.name() == u"Relationship" &&
                links.attributes().value(QLatin1String("Id")) == id)
                target = links.attributes().value(QLatin1String("Target")).toString();
        }
        failOnXmlError(links, QStringLiteral("workbook.xml.rels"));
    }
    if (target.isEmpty())
        return {QStringLiteral("xl/worksheets/sheet1.xml"), from1904};
    if (target.startsWith(QLatin1Char('/')))
        return {target.mid(1), from1904};
    return {QStringLiteral("xl/") + target, from1904};
}

/// A cell reference such as "B12": its column and row from 0; nothing when
/// it is no reference.
std::optional<std::pair<int, int>> cellPlace(QStringView reference) {
    qsizetype i = 0;
    int column = 0;
    for (; i < reference.size() && reference[i].isLetter(); ++i) {
        const char16_t c = reference[i].toUpper().unicode();
        if (c < u'A' || c > u'Z' || i >= 3)
            return std::nullopt;
        column = column * 26 + (c - u'A' + 1);
    }
    bool ok = false;
    const int row = reference.mid(i).toInt(&ok);
    if (column == 0 || !ok || row < 1 || row > 1048576)
        return std::nullopt;
    return std::pair{column - 1, row - 1};
}

/// What an ISO 8601 date cell (t="d") reads as.
QString isoDateText(const QString& value) {
    const QDateTime moment = QDateTime::fromString(value, Qt::ISODate);
    if (!moment.isValid()) {
        const QDate day = QDate::fromString(value, Qt::ISODate);
        return day.isValid() ? day.toString(QStringLiteral("yyyy-MM-dd")) : value;
    }
    return moment.time() == QTime(0, 0) ? moment.date().toString(QStringLiteral("yyyy-MM-dd"))
                                        : moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

struct CellValue {
    QString type;
    int style = 0;
    QString value;   // <v>
    QString inline_; // <is>
    bool hasValue = false;
};

QString cellText(const CellValue& cell, const QStringList& strings, const QList<bool>& dates,
                 bool from1904) {
    if (cell.type == u"s") {
        bool ok = false;
        const int index = cell.value.trimmed().toInt(&ok);
        if (!ok || index < 0 || index >= strings.size())
            throw Refusal{QStringLiteral("单元格引用了不存在的共享文字 %1").arg(cell.value)};
        return strings[index];
    }
    if (cell.type == u"inlineStr")
        return cell.inline_;
    if (cell.type == u"d")
        return isoDateText(cell.value.trimmed());
    if (cell.type == u"str" || cell.type == u"e" || cell.type == u"b")
        return cell.value;
    bool ok = false;
    const double number = cell.value.trimmed().toDouble(&ok);
    if (!ok)
        return cell.value;
    if (dates.value(cell.style)) {
        if (const QString day = sheetDateText(number, from1904); !day.isEmpty())
            return day;
    }
    return sheetNumberText(number);
}

QList<QStringList> sheetRows(const QByteArray& bytes, const QStringList& strings,
                             const QList<bool>& dates, bool from1904, qsizetype budget) {
    SheetGrid grid(budget);
    QXmlStreamReader xml(bytes);
    int row = -1, column = -1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"row") {
            const int r = xml.attributes().value(QLatin1String("r")).toInt();
            row = r >= 1 && r <= 1048576 ? r - 1 : row + 1;
            column = -1;
            continue;
        }
        if (xml.name() != u"c")
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        ++column;
        if (attributes.hasAttribute(QLatin1String("r"))) {
            const auto place = cellPlace(attributes.value(QLatin1String("r")));
            if (!place)
                throw Refusal{
                    QStringLiteral("单元格位置“%1”不对").arg(attributes.value(QLatin1String("r")))};
            std::tie(column, row) = *place;
        }
        CellValue cell;
        cell.type = attributes.value(QLatin1String("t")).toString();
        cell.style = attributes.value(QLatin1String("s")).toInt();
        while (xml.readNextStartElement()) {
            if (xml.name() == u"v") {
                cell.value = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                cell.hasValue = true;
            } else if (xml.name() == u"is") {
                cell.inline_ = runText(xml);
                cell.hasValue = true;
            } else {
                xml.skipCurrentElement();
            }
        }
        if (!cell.hasValue || row < 0)
            continue;
        QString problem;
        if (!grid.put(row, column, cellText(cell, strings, dates, from1904), &problem))
            throw Refusal{problem};
    }
    failOnXmlError(xml, QStringLiteral("工作表"));
    return grid.rows();
}

} // namespace

bool XlsxSheetReader::isWorkbook(const QByteArray& bytes) {
    return bytes.startsWith("PK\x03\x04");
}

std::optional<QList<QStringList>> XlsxSheetReader::read(const QByteArray& bytes, QString* problem) {
    QBuffer buffer;
    buffer.setData(bytes);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip)) {
        *problem = QStringLiteral("压缩文件已损坏，不是完好的 xlsx 文件");
        return std::nullopt;
    }
    try {
        const auto [sheetName, from1904] = firstSheet(zip);
        QStringList strings;
        if (const std::optional<QByteArray> shared =
                part(zip, QStringLiteral("xl/sharedStrings.xml")))
            strings = sharedStrings(*shared);
        QList<bool> dates;
        if (const std::optional<QByteArray> styles = part(zip, QStringLiteral("xl/styles.xml")))
            dates = dateStyles(*styles);
        const std::optional<QByteArray> sheet = part(zip, sheetName);
        if (!sheet)
            throw Refusal{QStringLiteral("压缩文件中没有工作表 %1").arg(sheetName)};
        // A cell takes a few bytes of the packed file; a sheet of a small file
        // may still be sparse, a large one holds at most a worksheet's grid.
        const qsizetype budget =
            std::min(kMaxImportValues, std::max(16 * bytes.size(), qsizetype(65536)));
        return sheetRows(*sheet, strings, dates, from1904, budget);
    } catch (const Refusal& refusal) {
        *problem = refusal.reason;
        return std::nullopt;
    }
}

} // namespace lists
