#pragma once

#include <QString>

namespace app {

/// Where the database and its companions live: the program's own folder when
/// it holds xjrjz.mdb (a portable install), otherwise `userFolder`. Only on the
/// very first start, when `userFolder` does not exist yet, is it made with a
/// new database in it, whole or not at all (a start killed part way leaves no
/// folder, and the next start removes what it left); a book missing later is
/// never replaced (opening it fails). What killed backups or restores left
/// beside the book is removed.
/// Returns the folder; throws store::EngineError when no database can be made.
QString prepareDataFolder(const QString& programFolder, const QString& userFolder);

/// Makes `folder` the current directory, where the book is opened by its
/// relative name; throws store::EngineError saying why it cannot be entered.
void enterDataFolder(const QString& folder);

/// ~/.local/share/tallomer, or the platform's equivalent.
QString defaultUserDataFolder();

} // namespace app
