#pragma once

#include <QList>
#include <QStringList>

namespace lists {

/// Rows as a spreadsheet takes them from the clipboard: the titles on the
/// first line, then one line per row, cells separated by tabs, each line
/// ending in a line break. A tab or line break inside a text becomes one
/// blank, so that every cell stays one cell.
QString tabSeparatedRows(const QStringList& titles, const QList<QStringList>& rows);

} // namespace lists
