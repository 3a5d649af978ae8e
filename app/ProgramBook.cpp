#include "ProgramBook.h"

#include "BookLockAtStart.h"

#include "store/BookLocation.h"
#include "store/BookLock.h"
#include "store/ConnectionString.h"
#include "store/EngineError.h"
#include "ui/MessageBoxes.h"

#include <QDir>

namespace app {

std::unique_ptr<ProgramBook> openProgramBook() {
    const QString standard = store::ConnectionString::standard();
    const QString bookFile =
        QDir::current().absoluteFilePath(store::ConnectionString(standard).dataSource());
    QString book;
    try {
        book = store::programBook(bookFile);
    } catch (const store::EngineError& e) {
        ui::showError(nullptr, e.message());
        return nullptr;
    }
    auto result = std::make_unique<ProgramBook>();
    if (store::isServerBook(book)) {
        result->connectionString = store::ConnectionString::forFile(book);
        return result;
    }
    // One program per book file: held until the program ends, past the main
    // window's closing and its copy of the book.
    result->lock = lockBookForRun(bookFile);
    if (!result->lock)
        return nullptr;
    result->connectionString = standard;
    return result;
}

} // namespace app
