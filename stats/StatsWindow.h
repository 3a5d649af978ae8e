#pragma once

#include "StatsLayout.h"

#include "lists/ListWindow.h"

class QLabel;

namespace stats {

/// A statistics list window over 通用, with its "统计" button opening the
/// criteria dialog (by summary, by month). The bank kind shows the account the
/// last statistic was limited to.
class StatsWindow : public lists::ListWindow {
    Q_OBJECT
public:
    StatsWindow(QWidget* owner, Statistic statistic, store::JournalKind kind);

    store::JournalKind kind() const { return m_kind; }
    /// "统计": the criteria dialog, filled and shown.
    void runStatistic();
    /// "图形显示" of the month windows: the listed months as a bar chart.
    void showChart();

private:
    Statistic m_statistic;
    store::JournalKind m_kind;
    QLabel* m_bankLabel = nullptr;
};

class TForm_xjsytj : public StatsWindow {
    Q_OBJECT
public:
    explicit TForm_xjsytj(QWidget* owner) : StatsWindow(owner, Statistic::Summary, store::JournalKind::Cash) {}
};

class TForm_yhsytj : public StatsWindow {
    Q_OBJECT
public:
    explicit TForm_yhsytj(QWidget* owner) : StatsWindow(owner, Statistic::Summary, store::JournalKind::Bank) {}
};

class TForm_xjsytj_yf : public StatsWindow {
    Q_OBJECT
public:
    explicit TForm_xjsytj_yf(QWidget* owner) : StatsWindow(owner, Statistic::Month, store::JournalKind::Cash) {}
};

class TForm_yhsytj_yf : public StatsWindow {
    Q_OBJECT
public:
    explicit TForm_yhsytj_yf(QWidget* owner) : StatsWindow(owner, Statistic::Month, store::JournalKind::Bank) {}
};

} // namespace stats
