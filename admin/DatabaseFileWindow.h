#pragma once

#include <QDialog>

class QAbstractButton;
class QLineEdit;

namespace admin {

/// The shared frame of the backup and restore windows: a file field that only
/// the browse button beside it fills, the action button and the one that
/// closes the window.
class DatabaseFileWindow : public QDialog {
    Q_OBJECT
public:
    DatabaseFileWindow(QWidget* owner, const QString& caption, const QString& actionText);

    /// The chosen file, empty until one is chosen.
    QString chosenFile() const;

protected:
    /// The wait cursor, while a copy runs.
    class BusyCursor {
    public:
        BusyCursor();
        ~BusyCursor();
        BusyCursor(const BusyCursor&) = delete;
        BusyCursor& operator=(const BusyCursor&) = delete;
    };

    void showEvent(QShowEvent* event) override;

    /// Asks for the file; an empty answer leaves the field as it was.
    virtual QString browse() = 0;
    /// The action on a chosen file; the window closes when it returns true.
    virtual bool run(const QString& file) = 0;

private:
    void act();

    QLineEdit* m_file;
    QAbstractButton* m_browse;
    QAbstractButton* m_action;
    QAbstractButton* m_back;
};

} // namespace admin
