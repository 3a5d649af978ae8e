#include "DBDateEdit.h"

#include "store/DateTime.h"
#include "store/EngineError.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFrame>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

namespace ui {

using store::DateTime;

DBDateEdit::DBDateEdit(QWidget* parent)
    : DBEdit(parent)
    , m_popup(new QFrame(this, Qt::Popup))
    , m_calendar(new QCalendarWidget(m_popup)) {
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral(R"([0-9\-/: ]*)")), this));
    QAction* drop = addAction(style()->standardIcon(QStyle::SP_ArrowDown), TrailingPosition);
    connect(drop, &QAction::triggered, this, &DBDateEdit::showCalendar);

    m_popup->setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(m_popup);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_calendar);
    m_calendar->setGridVisible(true);
    m_calendar->installEventFilter(this);
    connect(m_calendar, &QCalendarWidget::clicked, this, &DBDateEdit::choose);
    connect(m_calendar, &QCalendarWidget::activated, this, &DBDateEdit::choose);
}

QDate DBDateEdit::date() const {
    const std::optional<DateTime> d = DateTime::parse(text());
    return d ? d->date() : QDate();
}

void DBDateEdit::showCalendar() {
    const QDate shown = date();
    m_calendar->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

void DBDateEdit::hideCalendar() {
    m_popup->hide();
}

bool DBDateEdit::isCalendarVisible() const {
    return m_popup->isVisible();
}

QString DBDateEdit::textFor(const store::Field& field) const {
    return field.isNull() ? QString() : field.asDateTime().toShortDateString();
}

void DBDateEdit::writeText(store::Field& field, const QString& text) {
    if (text.trimmed().isEmpty()) {
        field.clear();
        return;
    }
    const std::optional<DateTime> d = DateTime::parse(text);
    if (!d)
        throw store::EngineError(QStringLiteral("'%1' is not a valid date").arg(text.trimmed()));
    field.setDateTime(*d);
}

void DBDateEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 ||
        (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        showCalendar();
        return;
    }
    DBEdit::keyPressEvent(event);
}

bool DBDateEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_calendar && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        hideCalendar();
        return true;
    }
    return DBEdit::eventFilter(watched, event);
}

void DBDateEdit::choose(QDate date) {
    hideCalendar();
    setText(store::shortDateText(date)); // an edit like typing it
    setFocus(Qt::PopupFocusReason);
}

} // namespace ui
