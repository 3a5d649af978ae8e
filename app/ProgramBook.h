#pragma once

#include <QString>

#include <memory>

namespace store {
class BookLock;
}

namespace app {

/// The book a run of the program works on, and what it holds of it for the run.
struct ProgramBook {
    /// The data module's connection string: the standard one for the book file
    /// of the data folder, or the same with the server book in its place.
    QString connectionString;
    /// The one-program lock of a book file; none for a server book, which
    /// several desks share.
    std::unique_ptr<store::BookLock> lock;
};

/// Finds the run's book from the current folder (the data folder): a server
/// book named by TALLOMER_BOOK or the one-line file beside the book file, else
/// the book file, whose lock it takes. When the line file cannot be read or
/// the book file is locked, tells the user and returns nothing: the run ends.
std::unique_ptr<ProgramBook> openProgramBook();

} // namespace app
