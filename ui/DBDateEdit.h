#pragma once

#include "DBEdit.h"

#include <QDate>

class QCalendarWidget;

namespace ui {

class CalendarDropDown;

/// A date field with a calendar drop-down, bound to a date field. It shows the
/// short date "yyyy-M-d" (nothing for a null date) and takes a calendar day
/// in the forms store::DateTime::parseDay reads ("2005-3-1", "2005/03/01"),
/// never a time of day; empty text stores null. Text that is no day is
/// written nowhere: the write throws store::EngineError ("'2005-2-30' is not
/// a valid date"), so post() and updateRecord() report it; a window checks
/// hasUnreadableText() first to tell the user in its own words. The drop-down
/// opens with the arrow button, F4 or Alt+Down; choosing a day there is an
/// edit like typing it. Leaving the field shows the day it read in full.
class DBDateEdit : public DBEdit {
    Q_OBJECT
public:
    explicit DBDateEdit(QWidget* parent = nullptr);

    /// Also reads a day alone ("15") as that day of `month`'s month and a
    /// month and day ("3-15") as that day of its year; an invalid date (the
    /// default) takes whole dates only.
    void setShortFormsMonth(const QDate& month) { m_shortFormsMonth = month; }

    /// The date the text stands for; invalid when empty or unreadable.
    QDate date() const;
    /// The text is neither empty nor a calendar day, so a save cannot take it.
    bool hasUnreadableText() const;

    /// Opens the calendar below the field, on the shown date (today when none).
    void showCalendar();
    void hideCalendar();
    bool isCalendarVisible() const;
    /// The drop-down's calendar (choosing a day there with a click or Enter
    /// sets the field).
    QCalendarWidget* calendar() const;

protected:
    QString textFor(const store::Field& field) const override;
    void writeText(store::Field& field, const QString& text) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CalendarDropDown* m_dropDown;
    QDate m_shortFormsMonth;
};

} // namespace ui
