#pragma once

#include <QDialog>

class QAbstractButton;

namespace ui {
class DBEdit;
class DBMemo;
} // namespace ui

namespace admin {

/// The company information editor over the first row of the
/// company query; the row also gives the main window its caption and banner.
class TForm_gsxx_edit : public QDialog {
    Q_OBJECT
public:
    /// Expects the company query open.
    explicit TForm_gsxx_edit(QWidget* owner);

public slots:
    /// No title-bar buttons: Esc does not close the editor either.
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;

private:
    void save();

    ui::DBEdit* m_name;
    ui::DBEdit* m_title;
    ui::DBMemo* m_banner;
    QAbstractButton* m_save;
    QAbstractButton* m_back;
};

} // namespace admin
