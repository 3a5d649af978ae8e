#pragma once

#include "DatabaseBackup.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

class QDateTime;

namespace store {

class Database;

/// The complete copies the program keeps of a book on its own, in the folder
/// "backups" beside the book (its owner's only): one a day when the program
/// closes, named after the book and the day (xjrjz-2026-12-09.mdb), the
/// newest ten kept; and one before each initialisation
/// (xjrjz-init-2026-12-09-153012.mdb), kept until removed by hand. Each is
/// checked as it is made and kept only when sound, so the restore can take it
/// as it is; a damaged book gets no copy, and then none is removed either.
/// A book on a server has its copies in the folder "backups" of the data
/// folder (the current folder of the run), named after its database
/// (company-2026-12-09.mdb), and one more before each restore
/// (company-restore-2026-12-09-153012.mdb).
class SafetyCopies {
public:
    static constexpr int kDailyCopiesKept = 10;

    enum class Outcome {
        Made,
        /// The day has its copy already.
        AlreadyMade,
        /// The disk holds less than twice the book: no copy was tried.
        NoRoom,
    };

    struct DailyResult {
        Outcome outcome = Outcome::Made;
        /// The day's copy (when made or already there).
        QString path;
        /// Bytes the copy needs free, and bytes free (when there was no room).
        qint64 needed = 0;
        qint64 available = 0;
        /// Older daily copies removed to keep the newest ten.
        QStringList removed;
    };

    /// The copies of the book `database`: a file, or a server's connection string.
    explicit SafetyCopies(const QString& database);

    QString folder() const { return m_folder; }
    /// The name of the daily copy of `day`.
    QString dailyCopy(const QDate& day) const;
    /// The daily copies in the folder, newest first. Other files are none of
    /// them, whatever they hold.
    QStringList dailyCopies() const;
    /// The daily and the initialisation copies, the last written first.
    QStringList allCopies() const;

    /// Makes the copy of `day` from `book` unless it has one, then removes the
    /// daily copies beyond the newest ten. Throws BackupError when the folder
    /// or the copy cannot be made, or `book` is damaged; an earlier copy is
    /// never touched then.
    DailyResult makeDailyCopy(Database& book, const QDate& day, const BackupProgress& progress = {});

    /// Makes the copy taken before an initialisation at `now`; returns its
    /// path. Throws BackupError when it cannot be made.
    QString makeInitialisationCopy(Database& book, const QDateTime& now,
                                   const BackupProgress& progress = {});

    /// Makes the copy of a server book taken before a restore replaces its
    /// rows; returns its path. Throws BackupError when it cannot be made.
    QString makeRestoreCopy(Database& book, const QDateTime& now,
                            const BackupProgress& progress = {});

    /// Free bytes on the disk of a folder. Tests put a stand-in here.
    std::function<qint64(const QString& folder)> freeSpace;

private:
    /// Makes the folder, or clears it of what killed copies left.
    void makeFolder() const;
    void removeStaleCopyTemporaries() const;
    QStringList prune();
    QString makeStampedCopy(Database& book, const QString& kind, const QDateTime& now,
                            const BackupProgress& progress);

    QString m_database;
    QString m_stem;
    QString m_folder;
};

} // namespace store
