#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace app {

/// Asks for the password a database server wants for the book, when neither
/// ~/.pgpass nor PGPASSWORD gives it. The password is kept for the run only.
class TForm_fwqkl : public QDialog {
    Q_OBJECT
public:
    /// `server` is the book's connection string, shown without any password.
    TForm_fwqkl(QWidget* owner, const QString& server);

    QString password() const;

private:
    QLineEdit* m_password;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

/// Makes the server connections of this run ask with TForm_fwqkl.
void installServerPasswordPrompt();

} // namespace app
