#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

/// The logged-in operator changes his own password.
class TForm_password : public QDialog {
    Q_OBJECT
public:
    /// Expects the operators query holding the logged-in operator's row.
    explicit TForm_password(QWidget* owner);

    /// The longest password an operator can set, and so the longest one the
    /// login takes.
    static constexpr int passwordLength = 10;

public slots:
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;

private:
    void save();

    QLabel* m_name;
    QLineEdit* m_old;
    QLineEdit* m_new;
    QLineEdit* m_confirm;
    QPushButton* m_save;
    QPushButton* m_back;
};

} // namespace app
