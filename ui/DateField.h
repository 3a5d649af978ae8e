#pragma once

#include <QLineEdit>

namespace ui {

class CalendarDropDown;

/// An unbound date field: a calendar day typed as "yyyy-M-d" (the forms
/// store::DateTime::parseDay reads) or picked from the calendar that drops
/// down from its arrow, F4 or Alt+Down. Empty stands for no date.
class DateField : public QLineEdit {
    Q_OBJECT
public:
    explicit DateField(QWidget* parent = nullptr);

    void showCalendar();

private:
    CalendarDropDown* m_dropDown;
};

} // namespace ui
