#pragma once

#include <QDate>
#include <QObject>

class QCalendarWidget;
class QFrame;
class QLineEdit;

namespace ui {

/// The calendar that drops down below a date field from its arrow, F4 or
/// Alt+Down. Choosing a day puts its short date ("2005-3-1") into the field
/// as if it were typed; Esc closes the calendar.
class CalendarDropDown : public QObject {
    Q_OBJECT
public:
    /// Attaches to the field, which owns it; the field takes only date characters.
    explicit CalendarDropDown(QLineEdit* field);

    /// Opens below the field on the date it shows (today when none).
    void show();
    void hide();
    bool isVisible() const;
    QCalendarWidget* calendar() const { return m_calendar; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(QDate date);

    QLineEdit* m_field;
    QFrame* m_popup;
    QCalendarWidget* m_calendar;
};

} // namespace ui
