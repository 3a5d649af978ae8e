#include "XlsWorkbookReader.h"

#include "ConfinedWork.h"
#include "ImportFileReader.h"
#include "SheetCells.h"

#include <QDataStream>
#include <QTemporaryFile>

#include <freexl.h>

#include <algorithm>

namespace lists {

namespace {

// The library holds a cell for every place of the grid each sheet declares,
// whatever it holds: up to 256 MB a sheet, for a file of a few kilobytes. A
// workbook is read in a child process with this much memory at most.
constexpr qint64 kWorkbookMemory = qint64(512) << 20;
// Far longer than any workbook takes; a read that loops is ended.
constexpr int kWorkbookSeconds = 60;

/// An open workbook, closed when it goes (after a failed open too).
class Workbook {
public:
    ~Workbook() {
        if (m_handle)
            freexl_close(m_handle);
    }
    const void** out() { return &m_handle; }
    const void* handle() const { return m_handle; }

private:
    const void* m_handle = nullptr;
};

struct SheetResult {
    std::optional<QList<QStringList>> rows;
    QString problem;
};

SheetResult refused(const QString& problem) {
    return {std::nullopt, problem};
}

// What a read that failed in the child, ran too long or out of memory there, says.
QString confinedProblem() {
    return QStringLiteral("文件已损坏：读取时出错、超过 %1 秒或要用 %2 MB 以上的内存")
        .arg(kWorkbookSeconds)
        .arg(kWorkbookMemory >> 20);
}

QString damaged(int code) {
    return QStringLiteral("文件已损坏，或不是 Excel 97-2003 工作簿（freexl 错误 %1）").arg(code);
}

QString cellText(const FreeXL_CellValue& cell) {
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return QString::number(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return sheetNumberText(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME: {
        const QString text = QString::fromUtf8(cell.value.text_value);
        return text.isNull() ? QStringLiteral("") : text;
    }
    default:
        return QString();
    }
}

// The first sheet that holds a cell, as rows of texts.
SheetResult readWorkbook(const QByteArray& path, qsizetype budget) {
    Workbook book;
    const int opened = freexl_open(path.constData(), book.out());
    // Out of memory, the library may give no workbook and no error.
    if (opened == FREEXL_INSUFFICIENT_MEMORY || (opened == FREEXL_OK && !book.handle()))
        return refused(confinedProblem());
    if (opened != FREEXL_OK)
        return refused(damaged(opened));
    unsigned int value = 0;
    if (freexl_get_info(book.handle(), FREEXL_BIFF_PASSWORD, &value) == FREEXL_OK &&
        value == FREEXL_BIFF_OBFUSCATED)
        return refused(QStringLiteral("工作簿有密码保护，请先在电子表格程序中取消密码"));
    unsigned int sheets = 0;
    if (const int rc = freexl_get_info(book.handle(), FREEXL_BIFF_SHEET_COUNT, &sheets);
        rc != FREEXL_OK)
        return refused(damaged(rc));
    SheetGrid grid(budget);
    QString problem;
    for (unsigned int sheet = 0; sheet < sheets && sheet <= 0xFFFF && grid.rows().isEmpty();
         ++sheet) {
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (const int rc = freexl_select_active_worksheet(book.handle(), (unsigned short)sheet);
            rc != FREEXL_OK)
            return refused(damaged(rc));
        if (freexl_worksheet_dimensions(book.handle(), &rows, &columns) != FREEXL_OK)
            continue;
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue cell;
                if (const int rc = freexl_get_cell_value(book.handle(), r, c, &cell);
                    rc != FREEXL_OK)
                    return refused(damaged(rc));
                const QString text = cellText(cell);
                if (!text.isNull() && !grid.put(int(r), c, text, &problem))
                    return refused(problem);
            }
        }
    }
    return {grid.rows(), QString()};
}

QByteArray encodeSheet(const SheetResult& result) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << bool(result.rows) << result.problem << result.rows.value_or(QList<QStringList>());
    return bytes;
}

std::optional<SheetResult> decodeSheet(const QByteArray& bytes) {
    QDataStream in(bytes);
    bool read = false;
    SheetResult result;
    QList<QStringList> rows;
    in >> read >> result.problem >> rows;
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    if (read)
        result.rows = std::move(rows);
    return result;
}

} // namespace

bool XlsWorkbookReader::isWorkbook(const QByteArray& bytes) {
    return bytes.startsWith(QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"));
}

std::optional<QList<QStringList>> XlsWorkbookReader::read(const QByteArray& bytes,
                                                          QString* problem) {
    // The library reads a file by its name: these very bytes, not the file
    // they came from, which may have changed since.
    QTemporaryFile copy;
    if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush()) {
        *problem = QStringLiteral("不能写入临时文件：%1").arg(copy.errorString());
        return std::nullopt;
    }
    // Cells far apart are held with every empty one between them; a sheet of
    // a small file may still be sparse, a large one at most a worksheet's grid.
    const qsizetype budget = std::min(kMaxImportValues, std::max(bytes.size(), qsizetype(65536)));
    const QByteArray path = QFile::encodeName(copy.fileName());
    const std::optional<QByteArray> answer =
        runConfined([&] { return encodeSheet(readWorkbook(path, budget)); }, kWorkbookMemory,
                    kWorkbookMemory, kWorkbookSeconds);
    const std::optional<SheetResult> result = answer ? decodeSheet(*answer) : std::nullopt;
    if (!result) {
        *problem = confinedProblem();
        return std::nullopt;
    }
    if (!result->rows)
        *problem = result->problem;
    return result->rows;
}

} // namespace lists
