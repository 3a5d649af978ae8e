#include "Application.h"

#include "store/EngineError.h"
#include "ui/MessageBoxes.h"

namespace app {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Tallomer"));
    setApplicationVersion(QStringLiteral(TALLOMER_VERSION));
    // Lets the desktop match the windows to the menu entry and its icon.
    setDesktopFileName(QStringLiteral(TALLOMER_APP_ID));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const store::EngineError& e) {
        ui::showError(activeWindow(), e.message());
    } catch (const std::exception& e) {
        ui::showError(activeWindow(), QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace app
