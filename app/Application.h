#pragma once

#include <QApplication>

namespace app {

/// The application object. An engine error that no window caught ends up
/// here: it is shown in the error box, the action it broke off is abandoned
/// and the window stays open.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace app
