#include "TitleLevels.h"

#include "TableSnapshot.h"

#include <QStringList>

#include <algorithm>

namespace lists {

namespace {

bool samePrefix(const QStringList& a, const QStringList& b, int level) {
    for (int i = 0; i <= level; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

} // namespace

TitleLevels::TitleLevels(const QList<SnapshotColumn>& columns)
    : m_columns(static_cast<int>(columns.size())) {
    QList<QStringList> parts;
    parts.reserve(m_columns);
    for (const SnapshotColumn& column : columns) {
        parts.append(column.title.split(QLatin1Char('|')));
        m_levels = std::max(m_levels, static_cast<int>(parts.last().size()));
    }
    m_cells.resize(static_cast<qsizetype>(m_levels) * m_columns);

    for (int level = 0; level < m_levels; ++level) {
        for (int c = 0; c < m_columns; ++c) {
            Cell& cell = m_cells[level * m_columns + c];
            const int last = static_cast<int>(parts[c].size()) - 1;
            if (level > last) {
                // Below the column's last part, which reaches down to here.
                cell.origin = false;
                cell.joinsAbove = true;
                cell.joinsBelow = level < m_levels - 1;
                continue;
            }
            if (level == last) {
                cell.text = parts[c][level];
                cell.rowSpan = m_levels - level;
                cell.width = columns[c].width;
                cell.joinsBelow = cell.rowSpan > 1;
                continue;
            }
            // A part with levels below it: one cell across the neighbours
            // whose titles agree up to this level.
            const auto isGroupWith = [&](int other) {
                return other >= 0 && other < m_columns && level < parts[other].size() - 1 &&
                       samePrefix(parts[c], parts[other], level);
            };
            cell.joinsLeft = isGroupWith(c - 1);
            cell.joinsRight = isGroupWith(c + 1);
            if (cell.joinsLeft) {
                cell.origin = false;
                continue;
            }
            cell.text = parts[c][level];
            cell.columnSpan = 0;
            int other = c;
            do {
                ++cell.columnSpan;
                cell.width += columns[other].width;
                ++other;
            } while (isGroupWith(other));
        }
    }
}

} // namespace lists
