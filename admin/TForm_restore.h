#pragma once

#include "DatabaseFileWindow.h"

namespace admin {

/// The restore window: replaces the working database file with
/// a verified copy of a file the user chooses, or the rows of a server book
/// with the rows of that file. The connection is closed while it is open.
class TForm_restore : public DatabaseFileWindow {
    Q_OBJECT
public:
    /// `working` is the working database file or the server book's connection
    /// string, `password` its database password.
    TForm_restore(QWidget* owner, const QString& working, const QString& password);

protected:
    QString browse() override;
    bool run(const QString& file) override;

private:
    /// Returns the safety copy the server book's former rows went to.
    QString restoreIntoServer(const QString& file);

    QString m_working;
    QString m_password;
};

} // namespace admin
