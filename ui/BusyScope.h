#pragma once

class QProgressBar;

namespace ui {

/// Shows a busy indicator for as long as it lives, painted at once since the
/// work that follows holds the event loop.
class BusyScope {
public:
    explicit BusyScope(QProgressBar* indicator);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    QProgressBar* m_indicator;
};

} // namespace ui
