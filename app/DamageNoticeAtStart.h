#pragma once

#include "store/BookHealth.h"

#include <QObject>
#include <QString>

#include <memory>

class QThread;
class QWidget;

namespace store {
class Connection;
}

namespace app {

/// The start's look for damage in the book. It runs on a thread of its own
/// from the moment the book is open, so that the login never waits for it.
/// Once it has found damage and the operator has logged in, whichever comes
/// later, one box says so and names the safety copy to restore. The run goes
/// on: the operator may restore that copy, or copy out what still reads.
class DamageNoticeAtStart : public QObject {
    Q_OBJECT
public:
    /// Starts looking at the book `connection` has open; the box comes over `window`.
    DamageNoticeAtStart(QWidget* window, store::Connection& connection);
    /// Stops a look still running and waits for its thread.
    ~DamageNoticeAtStart() override;

    /// The operator has logged in: the notice may come now.
    void loggedIn();

private:
    void checked();
    void moveCommittedIntoBook();
    void tellIfDue();
    /// The book is about to close (the run ends, or a restore replaces it):
    /// what the look would find no longer matters.
    void abandon();

    QWidget* m_window;
    store::Connection& m_connection;
    QString m_book;
    store::BookHealth m_health;
    store::BookHealth::Report m_report;
    std::unique_ptr<QThread> m_thread;
    bool m_checked = false;
    bool m_loggedIn = false;
    bool m_told = false;
    bool m_abandoned = false;
};

/// What the box says of the damaged book `book`.
QString damageNoticeText(const QString& book, const store::BookHealth::Report& report);

} // namespace app
