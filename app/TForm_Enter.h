#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace ui {
class DBLookupComboBox;
}

namespace app {

/// The login window: an operator picks his name and types his password,
/// within three attempts. Serves the start-up login and the change of operator.
class TForm_Enter : public QDialog {
    Q_OBJECT
public:
    /// Expects the operators query of the data module open in name order.
    explicit TForm_Enter(QWidget* owner);

public slots:
    /// The window has no close button; Esc does not close it either.
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();
    void terminate();
    /// Counts a failed attempt; true when it was the third, which ends the login.
    bool failedAttempt();
    void hashClearPassword();
    /// Keeps "确认" disabled for the wait the failed tries so far call for.
    void holdTries();

    ui::DBLookupComboBox* m_operators;
    QLineEdit* m_password;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    int m_failures = 0;
};

} // namespace app
