#include "XlsSheetReader.h"

#include "BiffRecords.h"
#include "GbkText.h"
#include "store/Currency.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lists {

namespace {

using namespace biff;

int word(const QByteArray& bytes, qsizetype at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

// The text an amount cell holds: the double the writer made from ten-thousandths, rounded back.
QString numberText(double value) {
    const double scaled = std::round(value * store::Currency::kScale);
    if (!std::isfinite(scaled) || std::fabs(scaled) > 9.2e18)
        return QString::number(value, 'g', 17);
    return store::Currency::fromRaw(static_cast<qint64>(scaled)).toString();
}

} // namespace

bool XlsSheetReader::isWorksheet(const QByteArray& bytes) {
    return bytes.size() >= 4 && word(bytes, 0) == BofRecord;
}

std::optional<QList<QStringList>> XlsSheetReader::read(const QByteArray& bytes, QString* problem) {
    QList<QStringList> rows;
    qsizetype width = 0;
    auto put = [&rows](int row, int column, const QString& text) {
        if (rows.size() <= row)
            rows.resize(row + 1);
        QStringList& cells = rows[row];
        while (cells.size() <= column)
            cells.append(QString());
        cells[column] = text;
    };
    qsizetype p = 0;
    while (p + 4 <= bytes.size()) {
        const int type = word(bytes, p);
        const int length = word(bytes, p + 2);
        const qsizetype data = p + 4;
        if (data + length > bytes.size())
            break;
        p = data + length;
        if (type == EofRecord)
            return rows;
        const bool cell = type == LabelRecord || type == NumberRecord || type == IntegerRecord ||
                          type == BlankRecord;
        if (!cell)
            continue;
        if (length < 6)
            break;
        const int row = word(bytes, data);
        const int column = word(bytes, data + 2);
        if (column >= MaxColumns) {
            *problem = QStringLiteral("第 %1 行第 %2 列超出工作表的 %3 列")
                           .arg(row + 1)
                           .arg(column + 1)
                           .arg(MaxColumns);
            return std::nullopt;
        }
        // Every cell of the grid is held, so a few cells far apart must not ask for
        // millions of empty ones: the export writes each cell in a record of 10 bytes or more.
        const qsizetype height = std::max(rows.size(), qsizetype(row) + 1);
        width = std::max(width, qsizetype(column) + 1);
        if (height * width > bytes.size()) {
            *problem =
                QStringLiteral("工作表有 %1 行 %2 列，远多于文件中的单元格").arg(height).arg(width);
            return std::nullopt;
        }
        if (type == LabelRecord) {
            if (length < 8 || 8 + word(bytes, data + 6) > length)
                break;
            const std::optional<QString> text = fromGbk(bytes.mid(data + 8, word(bytes, data + 6)));
            if (!text) {
                *problem = QStringLiteral("第 %1 行第 %2 列的文字不是 GBK 编码").arg(row + 1).arg(column + 1);
                return std::nullopt;
            }
            put(row, column, text->isNull() ? QStringLiteral("") : *text);
        } else if (type == NumberRecord && length >= 14) {
            double value;
            std::memcpy(&value, bytes.constData() + data + 6, sizeof value); // little-endian host
            put(row, column, numberText(value));
        } else if (type == IntegerRecord && length >= 10) {
            qint32 marked;
            std::memcpy(&marked, bytes.constData() + data + 6, sizeof marked);
            put(row, column, QString::number(marked >> 2));
        } else {
            put(row, column, QString());
        }
    }
    *problem = QStringLiteral("工作表文件不完整（没有结束记录）");
    return std::nullopt;
}

} // namespace lists
