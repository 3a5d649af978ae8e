#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace lists {

/// Reads back a worksheet of the kind the program's export writes: BIFF cell
/// records (labels in GBK, numbers, integers, blanks) between the beginning
/// and the end of file, rows and columns from 0. Any other record is passed
/// over. A blank cell, and a cell no record names, read as a null text; an
/// empty label as an empty one. Numbers read as exact text with at most four
/// decimals ("1234.5"), which is all an amount holds.
class XlsSheetReader {
public:
    /// Whether the bytes begin with a BIFF beginning-of-file record.
    static bool isWorksheet(const QByteArray& bytes);

    /// The rows of the sheet; nothing, with the reason in `problem`, for a
    /// file cut short, a label that is not GBK, a cell beyond the 256 columns
    /// of a worksheet, or a grid of more cells than the file has bytes.
    static std::optional<QList<QStringList>> read(const QByteArray& bytes, QString* problem);
};

} // namespace lists
