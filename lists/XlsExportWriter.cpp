#include "XlsExportWriter.h"

#include "BiffRecords.h"
#include "ExportStream.h"
#include "TableSnapshot.h"

#include <cstring>

namespace lists {

namespace {

using namespace biff;

constexpr quint16 GbkCodePage = 936;
constexpr quint16 BlankAttribute = 0x0017;
// The records are those of the BIFF versions before BIFF8 (readers take the
// file for BIFF2 to BIFF5). There a record holds at most 2080 bytes of data,
// and a label at most 255 characters of text, counted in bytes: BIFF2's
// label has an 8-bit length, and Excel kept that limit when later versions
// widened the field. A longer text is cut to fit.
constexpr qsizetype MaxRecordData = 2080;
constexpr qsizetype MaxLabelBytes = 255;
static_assert(8 + MaxLabelBytes <= MaxRecordData);

// Cells go left to right and row after row, each record in little-endian.
class BiffCells {
public:
    explicit BiffCells(ExportStream& out)
        : m_out(out) {}

    void header(quint16 type, quint16 length) {
        word(type);
        word(length);
    }

    void label(const QString& text) {
        QByteArray& buffer = m_out.buffer();
        const qsizetype start = buffer.size();
        header(LabelRecord, 0);
        position();
        word(0);
        word(0);
        const qsizetype textStart = buffer.size();
        m_out.text(text);
        qsizetype n = buffer.size() - textStart;
        if (n > MaxLabelBytes) {
            n = cutLength(buffer.constData() + textStart, n);
            buffer.truncate(textStart + n);
            ++m_cutLabels;
        }
        patchWord(start + 2, static_cast<quint16>(8 + n));
        patchWord(start + 10, static_cast<quint16>(n));
        advance();
    }

    void number(double value) {
        header(NumberRecord, 14);
        position();
        word(0);
        quint64 bits;
        std::memcpy(&bits, &value, sizeof bits);
        for (int i = 0; i < 8; ++i)
            m_out << static_cast<char>(bits >> (8 * i) & 0xFF);
        advance();
    }

    void integer(qint64 value) {
        // The record keeps a 30-bit signed value beside two marker bits.
        if (value < -(qint64(1) << 29) || value >= (qint64(1) << 29)) {
            number(static_cast<double>(value));
            return;
        }
        header(IntegerRecord, 10);
        position();
        word(0);
        dword(static_cast<quint32>(value * 4 + 2));
        advance();
    }

    void blank() {
        header(BlankRecord, 6);
        position();
        word(BlankAttribute);
        advance();
    }

    int cutLabels() const { return m_cutLabels; }

    void endRow() {
        ++m_row;
        m_column = 0;
        m_out.flushIfFull();
    }

    void word(quint16 value) {
        const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
        m_out.buffer().append(bytes, 2);
    }

private:
    void dword(quint32 value) {
        word(static_cast<quint16>(value & 0xFFFF));
        word(static_cast<quint16>(value >> 16));
    }
    void position() {
        word(m_row);
        word(m_column);
    }
    void advance() { ++m_column; }

    void patchWord(qsizetype at, quint16 value) {
        QByteArray& buffer = m_out.buffer();
        buffer[at] = static_cast<char>(value & 0xFF);
        buffer[at + 1] = static_cast<char>(value >> 8);
    }

    // How much of a too long label fits, without splitting a double-byte
    // character.
    static qsizetype cutLength(const char* bytes, qsizetype size) {
        qsizetype i = 0;
        while (i < size) {
            const qsizetype step = static_cast<unsigned char>(bytes[i]) >= 0x81 ? 2 : 1;
            if (i + step > MaxLabelBytes)
                break;
            i += step;
        }
        return i;
    }

    ExportStream& m_out;
    quint16 m_row = 0;
    quint16 m_column = 0;
    int m_cutLabels = 0;
};

} // namespace

int writeXlsExport(const TableSnapshot& table, QIODevice& device) {
    if (table.rows.size() > XlsMaxRecords)
        throw XlsTooManyRows(static_cast<int>(table.rows.size()) + 2, XlsMaxRecords + 2);

    ExportStream out(device);
    BiffCells cells(out);
    cells.header(BofRecord, 8);
    cells.word(0x0000); // version
    cells.word(0x0010); // worksheet
    cells.word(0);      // build
    cells.word(0);      // year
    cells.header(CodePageRecord, 2);
    cells.word(GbkCodePage);

    const qsizetype columns = table.columns.size();
    for (const SnapshotColumn& column : table.columns)
        cells.label(column.title);
    cells.endRow();

    for (const QList<SnapshotCell>& row : table.rows) {
        for (qsizetype c = 0; c < columns; ++c) {
            const SnapshotColumn& column = table.columns[c];
            if (c >= row.size() || column.fieldName.isEmpty() || row[c].isNull) {
                cells.blank();
                continue;
            }
            const SnapshotCell& cell = row[c];
            switch (column.kind) {
            case CellKind::Integer:
                cells.integer(cell.integer);
                break;
            case CellKind::Number:
                cells.number(cell.number);
                break;
            case CellKind::Text:
                cells.label(cell.text);
                break;
            }
        }
        cells.endRow();
    }

    for (qsizetype c = 0; c < columns; ++c) {
        if (c >= table.footer.size()) {
            cells.label(QString());
            continue;
        }
        const SnapshotFooterCell& footer = table.footer[c];
        if (footer.kind == FooterKind::Count || footer.kind == FooterKind::Sum)
            cells.number(footer.number);
        else
            cells.label(footer.text);
    }
    cells.header(EofRecord, 0);
    out.finish();
    return cells.cutLabels();
}

} // namespace lists
