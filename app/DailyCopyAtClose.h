#pragma once

#include <QDate>
#include <QString>

#include <functional>

class QWidget;

namespace store {
class Database;
}

namespace app {

/// The day's safety copy of the book, made when the main window closes after
/// a login: at most one a calendar day, the newest ten kept. A copy skipped
/// for want of room or one that failed is told in one box; nothing here ever
/// keeps the program from closing.
void makeDailyCopyAtClose(QWidget* parent, store::Database& book);

/// Free bytes on the disk of a folder, as the close measures them; empty for
/// the disk's own figure. Tests put a nearly full disk here.
extern std::function<qint64(const QString& folder)> dailyCopyFreeSpace;

/// The day whose copy the close makes; empty for the calendar's. Tests close on other days here.
extern std::function<QDate()> dailyCopyDay;

} // namespace app
