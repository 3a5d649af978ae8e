#pragma once

#include <chrono>
#include <functional>

class QObject;

namespace store {
class Connection;
}

namespace app {

/// Failed logins of a book, counted across restarts in the engine table, and the wait
/// each one puts before the next try is taken: 1 s, 2 s, 4 s ... at most 30 s. A script
/// that tries password after password, restarting the program after every third, slows
/// down as fast as one that keeps going.
class LoginDelay {
public:
    using Waiter =
        std::function<void(std::chrono::milliseconds, QObject* context, std::function<void()>)>;

    /// The wait after `failures` failed tries in a row; none before the first.
    static std::chrono::milliseconds after(int failures);

    /// The failed tries since the last successful login of the book.
    static int failures(store::Connection& book);
    /// Adds one failed try and returns the count; a book that refuses the write (read-only)
    /// counts for this run only, from `known`.
    static int addFailure(store::Connection& book, int known);
    static void clear(store::Connection& book);

    /// Calls `then` after `wait` unless `context` is gone by then.
    static void wait(std::chrono::milliseconds wait, QObject* context, std::function<void()> then);
    /// Replaces the timer, so that tests see the waits without sitting through them.
    static void setWaiter(Waiter waiter);
};

} // namespace app
