#pragma once

#include "EngineError.h"

#include <QString>

#include <functional>

namespace store {

class Database;

/// Why a backup or a restore did not happen, or may not have. Except for
/// Unconfirmed, the file that would have been replaced (the backup target, or
/// the working database of a restore) is as it was before.
class BackupError : public EngineError {
public:
    enum class Reason {
        /// The chosen file is the database itself (or one of its companion files).
        SameFile,
        /// The file to restore from is not a sound database of this system.
        Unusable,
        /// The database to back up is damaged: its copy failed the check and
        /// was not kept.
        Damaged,
        /// A file could not be read or written (no such file, no room, no permission).
        Failed,
        /// The complete copy has replaced the file, but the folder could not be
        /// made durable: after a power cut the former file may be back.
        Unconfirmed,
    };

    BackupError(Reason reason, const QString& detail)
        : EngineError(detail)
        , m_reason(reason) {}

    Reason reason() const { return m_reason; }

private:
    Reason m_reason;
};

/// Told how far a copy has come: the pages copied so far out of all pages.
using BackupProgress = std::function<void(int copied, int total)>;

/// Writes a complete copy of the committed state of `source` to `target`,
/// readable by its owner only. The copy is made with SQLite's online backup
/// into a temporary file beside `target`, which then replaces `target` in one
/// rename: an existing `target` is only ever replaced by a complete copy, and
/// a crash at any moment leaves it as it was. The copy takes the place of
/// `target` only when it passes SQLite's quick check; a copy of a damaged
/// database is removed and refused as Damaged. `source` stays usable throughout.
/// Temporaries that killed copies to `target` left are removed first.
/// With `progress`, the copy goes in steps and reports after each.
/// A server book is copied into a new file book of the same format, row by
/// row and verified (see copyBook()), then checked and moved as above; its
/// progress counts thousandths of its rows.
void backupDatabase(Database& source, const QString& target, const BackupProgress& progress = {});

/// As backupDatabase(), for a book file or a server book opened with its password.
void backupDatabaseFile(const QString& source, const QString& password, const QString& target);

/// Makes `source` the working database file `working`. The source is copied,
/// with a journal beside it, into a temporary file beside `working`; that copy
/// is settled (what the journal holds is applied or rolled back) and verified
/// (it opens with `password`, holds the nine tables with their columns and
/// passes the integrity check). Only when every check has passed is the
/// working file saved as keptPreviousFile(working), replacing an older one,
/// and replaced by the copy in one rename. A refusal names `source`, never the
/// copy. The chosen file itself is only read. No connection may be open on
/// `working`: its journal files are settled and removed, so that no stale
/// journal is ever applied to the restored file. Temporaries that killed
/// restores left beside `working` are removed first.
void restoreDatabaseFile(const QString& source, const QString& working, const QString& password);

/// Makes the rows of the file book `source` those of the server book `server`.
/// The chosen file gets the checks restoreDatabaseFile() gives it, on a copy
/// in the temporary folder; only then is `keepCurrent` called, which copies
/// the server book to a file and returns that file's name, and the server's
/// rows are replaced by the file's in one transaction, verified row by row.
/// Returns the name of the kept copy. A failure leaves the server book as it was.
QString restoreServerBook(const QString& source, Database& server, const QString& password,
                          const std::function<QString()>& keepCurrent,
                          const BackupProgress& progress = {});

/// Makes the new file `target` whole or not at all: `write` fills a new file
/// readable by its owner only, a hidden temporary beside `target`, which takes
/// the name `target` only when `write` has returned, and never over a file
/// made there meanwhile. Temporaries that killed writes left are removed first.
void createFileWhole(const QString& target,
                     const std::function<void(const QString& temporary)>& write);

/// Where a restore keeps the working file it replaced: the same name with ".bak" added.
QString keptPreviousFile(const QString& working);

/// Removes what backups or restores that were killed left while replacing
/// `file`: their hidden temporaries beside it, named after it, with their
/// journal files. A temporary that a running backup or restore (of any
/// process) is still writing is kept; nothing else is ever touched.
void removeStaleTemporaries(const QString& file);

/// For tests: makes the step after the rename that replaces `target`, which
/// makes its folder durable, fail as a failing disk would; an empty name ends it.
void failReplacingSyncForTesting(const QString& target);

} // namespace store
