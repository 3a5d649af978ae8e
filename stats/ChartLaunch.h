#pragma once

#include <QString>

class QWidget;

namespace store {
class Query;
}

namespace stats {

class TForm_dbbar;

/// The chart titles of the two month statistics.
inline const QString cashChartTitle = QStringLiteral("现金日记帐统计(月份)");
inline const QString bankChartTitle = QStringLiteral("银行帐统计(月份)");

/// "图形显示" of a month list window: charts the rows of the data module's
/// q_tongyong in the order the window shows them, in a modal chart window
/// owned by `monthWindow`. With q_tongyong closed or empty it only warns
/// "没有可以显示的数据!". 图形显示 holds the rows only while the chart window
/// is open: it is emptied when the window closes, and also when anything
/// fails once it was filled; a failure while filling leaves it as it was.
/// Engine errors are thrown to the caller.
void launchChart(QWidget* monthWindow, const QString& chartTitle);

/// Empties the chart window's table (图形显示), then appends one row to it
/// per row of `months`, from its first row in its present order (月份 as the
/// label, 收入差价 as the value), all in one transaction. Views of `months` are suspended meanwhile and
/// it stands on its first row afterwards.
void fillChartTable(store::Query& months, store::Query& table);

} // namespace stats
