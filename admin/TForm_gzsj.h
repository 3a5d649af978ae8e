#pragma once

#include <QDialog>

class QAbstractButton;

namespace ui {
class DBDateEdit;
}

namespace admin {

/// The closing-date window: the stored closing date, which
/// fixes the month being kept.
class TForm_gzsj : public QDialog {
    Q_OBJECT
public:
    /// Expects the closing-date query open.
    explicit TForm_gzsj(QWidget* owner);

public slots:
    /// No title-bar buttons: Esc does not close the window either.
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;

private:
    void save();

    ui::DBDateEdit* m_date;
    QAbstractButton* m_save;
    QAbstractButton* m_close;
};

} // namespace admin
