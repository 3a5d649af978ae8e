#include "ChartLaunch.h"

#include "TForm_dbbar.h"

#include "store/Connection.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Transaction.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <memory>

namespace stats {

namespace {

/// Keeps the views of a query suspended for a walk over its rows, and puts
/// the query back on its first row afterwards, however the walk ends.
class SuspendedWalk {
public:
    explicit SuspendedWalk(store::Query& query)
        : m_query(query) {
        m_query.disableControls();
    }
    ~SuspendedWalk() {
        try {
            m_query.first();
        } catch (...) {
            // Only a pending row could fail to post here; the walk posts none.
        }
        m_query.enableControls();
    }
    SuspendedWalk(const SuspendedWalk&) = delete;
    SuspendedWalk& operator=(const SuspendedWalk&) = delete;

private:
    store::Query& m_query;
};

void emptyChartTable() {
    ui::Dm1->q_change.execWith({QStringLiteral("delete from 图形显示")});
    ui::Dm1->q_change.close();
}

/// Empties 图形显示 when the launch is left by an error after the fill.
class EmptiedOnFailure {
public:
    EmptiedOnFailure() = default;
    ~EmptiedOnFailure() {
        if (!m_armed)
            return;
        try {
            emptyChartTable();
        } catch (...) {
            // The error that got us here is the one to report.
        }
    }
    EmptiedOnFailure(const EmptiedOnFailure&) = delete;
    EmptiedOnFailure& operator=(const EmptiedOnFailure&) = delete;

    void arm() { m_armed = true; }
    void disarm() { m_armed = false; }

private:
    bool m_armed = false;
};

} // namespace

void fillChartTable(store::Query& months, store::Query& table) {
    store::Database& database = table.connection()->database();
    store::Transaction unit(database);
    // Rows left by a chart window that never closed (a crash) must not become bars.
    table.close();
    database.exec(QStringLiteral("delete from 图形显示"));
    table.open();
    {
        const SuspendedWalk walk(months);
        const store::Field month = months.fieldByName(QStringLiteral("月份"));
        const store::Field income = months.fieldByName(QStringLiteral("收入差价"));
        for (months.first(); !months.eof(); months.next()) {
            table.append();
            table.fieldByName(QStringLiteral("sl1")).setString(month.asString());
            table.fieldByName(QStringLiteral("je1")).setCurrency(income.asCurrency());
            table.post();
        }
    }
    unit.commit();
}

void launchChart(QWidget* monthWindow, const QString& chartTitle) {
    store::Query& months = ui::Dm1->q_tongyong;
    if (!months.isOpen() || months.isEmpty()) {
        ui::warn(monthWindow, QStringLiteral("没有可以显示的数据!"));
        return;
    }

    EmptiedOnFailure cleanup; // outlives the window, so it runs after the window is gone
    auto window = std::make_unique<TForm_dbbar>(monthWindow);
    window->openTable();
    window->setChartTitle(chartTitle);
    fillChartTable(months, window->table());
    cleanup.arm();

    window->exec();
    window.reset();

    cleanup.disarm();
    emptyChartTable();
}

} // namespace stats
