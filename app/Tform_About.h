#pragma once

#include <QDialog>

namespace app {

/// The about dialog: the program's emblem, name, version and makers.
class Tform_About : public QDialog {
    Q_OBJECT
public:
    explicit Tform_About(QWidget* owner);
};

} // namespace app
