#pragma once

#include <QLineEdit>

class QCalendarWidget;
class QFrame;

namespace ui {

/// An unbound date field: typed as "yyyy-M-d" or picked from a calendar that
/// drops down from its arrow, F4 or Alt+Down. Empty stands for no date.
class DateField : public QLineEdit {
    Q_OBJECT
public:
    explicit DateField(QWidget* parent = nullptr);

    void showCalendar();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(QDate date);

    QFrame* m_popup;
    QCalendarWidget* m_calendar;
};

} // namespace ui
