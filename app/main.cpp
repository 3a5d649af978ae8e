// The desktop program: takes no arguments; everything else is in the database.

#include "Application.h"
#include "BookLockAtStart.h"
#include "DataFolder.h"
#include "ProgramBook.h"
#include "ServerPasswordPrompt.h"
#include "TForm_main.h"

#include "store/BookLock.h"
#include "store/EngineError.h"
#include "ui/Artwork.h"
#include "ui/ChineseTranslations.h"
#include "ui/Fonts.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/ModalWindows.h"
#include "ui/TDm1.h"

#include <QScreen>

int main(int argc, char** argv) {
    app::Application application(argc, argv);
    ui::installChineseTranslations();
    ui::installKeyRules();
    ui::installModalWindowRules();
    ui::installFontSubstitutions();
    application.setFont(ui::songFont(12));
    application.setWindowIcon(ui::artwork::applicationIcon());
    try {
        app::enterDataFolder(app::prepareDataFolder(QCoreApplication::applicationDirPath(),
                                                    app::defaultUserDataFolder()));
    } catch (const store::EngineError& e) {
        ui::showError(nullptr, e.message());
        return 1;
    }
    const std::unique_ptr<app::ProgramBook> book = app::openProgramBook();
    if (!book)
        return app::kBookNotLockedExit;
    app::installServerPasswordPrompt();
    app::TForm_main mainWindow;
    ui::TDm1 dataModule(book->connectionString);
    // Without a window manager (a bare X server) maximising does nothing, so
    // the window is also given the whole screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        mainWindow.setGeometry(screen->availableGeometry());
    mainWindow.showMaximized();
    mainWindow.activateWindow();
    return application.exec();
}
