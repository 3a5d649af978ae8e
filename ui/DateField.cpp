#include "DateField.h"

#include "store/DateTime.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFrame>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

namespace ui {

DateField::DateField(QWidget* parent)
    : QLineEdit(parent)
    , m_popup(new QFrame(this, Qt::Popup))
    , m_calendar(new QCalendarWidget(m_popup)) {
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral(R"([0-9\-/: ]*)")), this));
    QAction* drop = addAction(style()->standardIcon(QStyle::SP_ArrowDown), TrailingPosition);
    connect(drop, &QAction::triggered, this, [this] { showCalendar(); });

    m_popup->setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(m_popup);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_calendar);
    m_calendar->setGridVisible(true);
    m_calendar->installEventFilter(this);
    connect(m_calendar, &QCalendarWidget::clicked, this, [this](QDate d) { choose(d); });
    connect(m_calendar, &QCalendarWidget::activated, this, [this](QDate d) { choose(d); });
}

void DateField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 ||
        (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        showCalendar();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

bool DateField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_calendar && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_popup->hide();
        return true;
    }
    return QLineEdit::eventFilter(watched, event);
}

void DateField::showCalendar() {
    const std::optional<store::DateTime> shown = store::DateTime::parse(text());
    m_calendar->setSelectedDate(shown ? shown->date() : QDate::currentDate());
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

void DateField::choose(QDate date) {
    m_popup->hide();
    setText(store::shortDateText(date));
    setFocus(Qt::PopupFocusReason);
}

} // namespace ui
