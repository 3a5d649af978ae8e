#pragma once

#include <QString>

#include <memory>

namespace store {
class BookLock;
}

namespace app {

/// The exit status of a start that could not lock its book (most often: it
/// is open in another program).
constexpr int kBookNotLockedExit = 3;

/// Takes the lock of the book file `database` for the whole run. When
/// another program has the book open, or no lock can be made, tells the user
/// and returns nothing: the run must end, and the other program goes on.
std::unique_ptr<store::BookLock> lockBookForRun(const QString& database);

} // namespace app
