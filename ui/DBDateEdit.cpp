#include "DBDateEdit.h"

#include "CalendarDropDown.h"

#include "store/DateTime.h"
#include "store/EngineError.h"

#include <QFocusEvent>

namespace ui {

using store::DateTime;

DBDateEdit::DBDateEdit(QWidget* parent) : DBEdit(parent), m_dropDown(new CalendarDropDown(this)) {}

QDate DBDateEdit::date() const {
    const std::optional<DateTime> d = DateTime::parseDayIn(text(), m_shortFormsMonth);
    return d ? d->date() : QDate();
}

bool DBDateEdit::hasUnreadableText() const {
    return !text().trimmed().isEmpty() && !date().isValid();
}

void DBDateEdit::showCalendar() { m_dropDown->show(); }

void DBDateEdit::hideCalendar() { m_dropDown->hide(); }

bool DBDateEdit::isCalendarVisible() const { return m_dropDown->isVisible(); }

QCalendarWidget* DBDateEdit::calendar() const { return m_dropDown->calendar(); }

QString DBDateEdit::textFor(const store::Field& field) const {
    return field.isNull() ? QString() : field.asDateTime().toShortDateString();
}

void DBDateEdit::writeText(store::Field& field, const QString& text) {
    if (text.trimmed().isEmpty()) {
        field.clear();
        return;
    }
    const std::optional<DateTime> d = DateTime::parseDayIn(text, m_shortFormsMonth);
    if (!d)
        throw store::EngineError(
            store::unreadableValueText(store::FieldType::DateTime, text.trimmed()));
    field.setDateTime(*d);
}

void DBDateEdit::focusOutEvent(QFocusEvent* event) {
    DBEdit::focusOutEvent(event);
    // "15" becomes the day it stands for; the field may have held that day already, so
    // nothing else shows it anew.
    if (!fieldLink().isModified())
        fieldLink().refresh();
}

} // namespace ui
