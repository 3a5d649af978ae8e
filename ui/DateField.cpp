#include "DateField.h"

#include "CalendarDropDown.h"

namespace ui {

DateField::DateField(QWidget* parent) : QLineEdit(parent), m_dropDown(new CalendarDropDown(this)) {}

void DateField::showCalendar() { m_dropDown->show(); }

} // namespace ui
