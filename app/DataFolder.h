#pragma once

#include <QString>

namespace app {

/// Where the database and its companions live: the program's own folder when
/// it holds xjrjz.mdb (a portable install), otherwise `userFolder`, made on
/// first use with a new database in it. Returns the folder; throws
/// store::EngineError when no database can be made there.
QString prepareDataFolder(const QString& programFolder, const QString& userFolder);

/// ~/.local/share/tallomer, or the platform's equivalent.
QString defaultUserDataFolder();

} // namespace app
