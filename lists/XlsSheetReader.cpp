#include "XlsSheetReader.h"

#include "BiffRecords.h"
#include "GbkText.h"
#include "SheetCells.h"

#include <cstring>

namespace lists {

namespace {

using namespace biff;

int word(const QByteArray& bytes, qsizetype at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

} // namespace

bool XlsSheetReader::isWorksheet(const QByteArray& bytes) {
    return bytes.size() >= 4 && word(bytes, 0) == BofRecord;
}

std::optional<QList<QStringList>> XlsSheetReader::read(const QByteArray& bytes, QString* problem) {
    // The export writes each cell in a record of 10 bytes or more.
    SheetGrid grid(bytes.size());
    qsizetype p = 0;
    while (p + 4 <= bytes.size()) {
        const int type = word(bytes, p);
        const int length = word(bytes, p + 2);
        const qsizetype data = p + 4;
        if (data + length > bytes.size())
            break;
        p = data + length;
        if (type == EofRecord)
            return grid.rows();
        const bool cell = type == LabelRecord || type == NumberRecord || type == IntegerRecord ||
                          type == BlankRecord;
        if (!cell)
            continue;
        if (length < 6)
            break;
        const int row = word(bytes, data);
        const int column = word(bytes, data + 2);
        const auto put = [&](const QString& text) { return grid.put(row, column, text, problem); };
        if (type == LabelRecord) {
            if (length < 8 || 8 + word(bytes, data + 6) > length)
                break;
            const std::optional<QString> text = fromGbk(bytes.mid(data + 8, word(bytes, data + 6)));
            if (!text) {
                *problem = QStringLiteral("第 %1 行第 %2 列的文字不是 GBK 编码")
                               .arg(row + 1)
                               .arg(column + 1);
                return std::nullopt;
            }
            if (!put(text->isNull() ? QStringLiteral("") : *text))
                return std::nullopt;
        } else if (type == NumberRecord && length >= 14) {
            double value;
            std::memcpy(&value, bytes.constData() + data + 6, sizeof value); // little-endian host
            if (!put(sheetNumberText(value)))
                return std::nullopt;
        } else if (type == IntegerRecord && length >= 10) {
            qint32 marked;
            std::memcpy(&marked, bytes.constData() + data + 6, sizeof marked);
            if (!put(QString::number(marked >> 2)))
                return std::nullopt;
        } else if (!put(QString())) {
            return std::nullopt;
        }
    }
    *problem = QStringLiteral("工作表文件不完整（没有结束记录）");
    return std::nullopt;
}

} // namespace lists
