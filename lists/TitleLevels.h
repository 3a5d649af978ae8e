#pragma once

#include <QList>
#include <QString>

namespace lists {

struct SnapshotColumn;

/// The title area of exported documents when titles have "|" levels: one
/// row per level, a part shared by neighbouring columns merged across them,
/// and a column's last part reaching down to the bottom level.
class TitleLevels {
public:
    struct Cell {
        QString text;       // the title part; empty where a merged part goes on
        bool origin = true; // the top-left cell of its part, which carries the text
        int columnSpan = 1; // at the origin: columns the part covers
        int rowSpan = 1;    // at the origin: levels the part covers
        int width = 0;      // at the origin: pixel width of the columns covered
        bool joinsLeft = false;
        bool joinsRight = false;
        bool joinsAbove = false;
        bool joinsBelow = false;
    };

    explicit TitleLevels(const QList<SnapshotColumn>& columns);

    int levelCount() const { return m_levels; }
    const Cell& cell(int level, int column) const { return m_cells[level * m_columns + column]; }

private:
    int m_levels = 1;
    int m_columns = 0;
    QList<Cell> m_cells;
};

} // namespace lists
