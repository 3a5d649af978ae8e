#pragma once

#include <stdexcept>

class QIODevice;

namespace lists {

struct TableSnapshot;

/// A table too long for a worksheet, whose rows are numbered with 16 bits:
/// the title, the records and the footer must fit in `limit` rows. Rows
/// past the limit would wrap around and overwrite the first ones.
class XlsTooManyRows : public std::runtime_error {
public:
    XlsTooManyRows(int rows, int limit)
        : std::runtime_error("too many rows for a worksheet")
        , m_rows(rows)
        , m_limit(limit) {}

    int rows() const { return m_rows; }
    int limit() const { return m_limit; }

private:
    int m_rows;
    int m_limit;
};

/// The largest number of records a worksheet export can hold.
constexpr int XlsMaxRecords = 65536 - 2;

/// A worksheet as a bare sequence of BIFF cell records: beginning of file,
/// code page 936, the title row of labels, one row per record (integers,
/// numbers, labels, blanks), the footer row (counts and sums as numbers),
/// end of file. Labels hold GBK bytes, at most 255 of them (a worksheet of
/// this kind holds no more in a cell): a longer text is cut at the last
/// whole character that fits.
/// Returns the number of labels cut so; the caller tells the user.
/// Throws XlsTooManyRows, before writing anything, for more than
/// XlsMaxRecords records.
int writeXlsExport(const TableSnapshot& table, QIODevice& device);

} // namespace lists
