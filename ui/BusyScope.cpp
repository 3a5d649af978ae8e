#include "BusyScope.h"

#include <QApplication>
#include <QProgressBar>

namespace ui {

BusyScope::BusyScope(QProgressBar* indicator) : m_indicator(indicator) {
    m_indicator->show();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

BusyScope::~BusyScope() { m_indicator->hide(); }

} // namespace ui
