#pragma once

#include "DatabaseFileWindow.h"

namespace admin {

/// The backup window: writes a complete copy of the working
/// database, over its open connection, to a file the user chooses.
class TForm_backup : public DatabaseFileWindow {
    Q_OBJECT
public:
    explicit TForm_backup(QWidget* owner);

protected:
    QString browse() override;
    bool run(const QString& file) override;
};

} // namespace admin
