#pragma once

#include "DatabaseCheck.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace store {

/// Whether a book is damaged (a failing disk, a cut write) and, when it is,
/// which of its safety copies is the newest sound one to restore. SQLite's
/// quick check reads every page: under a second at a million entries, for the
/// book and again for each copy tried. So the start runs check() on a thread
/// of its own while the login waits; stop(), from any thread, ends it early.
class BookHealth {
public:
    struct Report {
        /// What the check found wrong with the book; empty when it is sound,
        /// and when the check was stopped.
        QStringList problems;
        /// The newest safety copy that passes the same check, and when it was
        /// written; empty when the book is sound or no copy passes.
        QString soundCopy;
        QDateTime soundCopyWritten;

        bool damaged() const { return !problems.isEmpty(); }
    };

    /// The book file `book`, whose copies open with `password` as it does.
    BookHealth(const QString& book, const QString& password);

    Report check() const;
    void stop() { m_stop.stop(); }

private:
    /// What the quick check finds wrong with `file`, a failure to open it included.
    QStringList problemsOf(const QString& file) const;

    QString m_book;
    QString m_password;
    mutable CheckStop m_stop;
};

} // namespace store
