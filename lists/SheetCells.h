#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace lists {

/// The columns every worksheet reader gives at most: a BIFF sheet's 256, far
/// more than any statement or journal has.
constexpr int kMaxSheetColumns = 256;

/// The cells of a worksheet as rows of texts, from 0, gathered cell by cell
/// in any order. Every cell up to the last row and column is held, so a few
/// cells far apart could ask for millions of empty ones: the grid refuses to
/// grow beyond a budget of cells the caller derives from the file's size.
class SheetGrid {
public:
    explicit SheetGrid(qsizetype cellBudget)
        : m_budget(cellBudget) {}

    /// Sets a cell; false, with the reason in `problem`, for a column beyond
    /// kMaxSheetColumns or a grid beyond the budget.
    bool put(int row, int column, const QString& text, QString* problem);
    /// The rows, each up to its last cell; a cell never set reads as a null text.
    const QList<QStringList>& rows() const { return m_rows; }

private:
    QList<QStringList> m_rows;
    qsizetype m_width = 0;
    qsizetype m_budget;
};

/// What a number cell reads as: exact text with at most four decimals
/// ("1234.5"), which is all an amount holds; "12.5" for 12.499999999999998.
QString sheetNumberText(double value);

/// What a cell holding a day serial in a date style reads as: "2026-12-01",
/// with " 09:30:00" when it holds a time of day too. Serials count days from
/// 1899-12-30 (the 1900 system, whose phantom 29 February 1900 is serial 60)
/// or from 1904-01-01. Nothing for a serial no calendar day can have.
QString sheetDateText(double serial, bool from1904 = false);

} // namespace lists
