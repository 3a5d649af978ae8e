#pragma once

// A book as a failing disk leaves it: one page of a table's rows gone to zeros.

#include "store/Database.h"
#include "store/Statement.h"

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace testing_support {

/// Overwrites with zeros one leaf page of `table` in the book file `book`,
/// never its root: the book still opens and the program's other tables read as
/// before, but reading the table through that page fails. The table needs
/// rows enough for three leaf pages. The bytes are written past SQLite, so no
/// connection may hold the book open meanwhile.
inline void zeroPageOf(const QString& book, const QString& table) {
    qint64 page = 0;
    qint64 pageSize = 0;
    {
        store::Database db(book, store::Database::OpenMode::ExistingOnly);
        // Every committed page into the file itself, which is all the program copies.
        db.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        store::Statement leaves(db, QStringLiteral("select pageno from dbstat where name = ? "
                                                   "and pagetype = 'leaf' order by pageno"));
        leaves.bindText(1, table);
        QList<qint64> pages;
        while (leaves.step())
            pages << leaves.int64(0);
        ASSERT_GE(pages.size(), 3) << "too few rows in " << table.toStdString();
        page = pages[pages.size() / 2];
        store::Statement size(db, QStringLiteral("PRAGMA page_size"));
        ASSERT_TRUE(size.step());
        pageSize = size.int64(0);
    }
    QFile file(book);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek((page - 1) * pageSize));
    ASSERT_EQ(file.write(QByteArray(int(pageSize), '\0')), pageSize);
}

} // namespace testing_support
