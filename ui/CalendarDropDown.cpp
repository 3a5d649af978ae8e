#include "CalendarDropDown.h"

#include "store/DateTime.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

namespace ui {

CalendarDropDown::CalendarDropDown(QLineEdit* field)
    : QObject(field), m_field(field), m_popup(new QFrame(field, Qt::Popup)),
      m_calendar(new QCalendarWidget(m_popup)) {
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral(R"([0-9\-/: ]*)")), field));
    QAction* drop = field->addAction(field->style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    connect(drop, &QAction::triggered, this, &CalendarDropDown::show);
    field->installEventFilter(this);

    m_popup->setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(m_popup);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_calendar);
    m_calendar->setGridVisible(true);
    m_calendar->installEventFilter(this);
    connect(m_calendar, &QCalendarWidget::clicked, this, &CalendarDropDown::choose);
    connect(m_calendar, &QCalendarWidget::activated, this, &CalendarDropDown::choose);
}

void CalendarDropDown::show() {
    const std::optional<store::DateTime> shown = store::DateTime::parseDay(m_field->text());
    m_calendar->setSelectedDate(shown ? shown->date() : QDate::currentDate());
    m_popup->adjustSize();
    m_popup->move(m_field->mapToGlobal(QPoint(0, m_field->height())));
    m_popup->show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

void CalendarDropDown::hide() { m_popup->hide(); }

bool CalendarDropDown::isVisible() const { return m_popup->isVisible(); }

bool CalendarDropDown::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == m_field && (key->key() == Qt::Key_F4 ||
                                   (key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier)))) {
            show();
            return true;
        }
        if (watched == m_calendar && key->key() == Qt::Key_Escape) {
            hide();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void CalendarDropDown::choose(QDate date) {
    hide();
    m_field->setText(store::shortDateText(date)); // an edit like typing it
    m_field->setFocus(Qt::PopupFocusReason);
}

} // namespace ui
