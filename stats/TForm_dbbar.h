#pragma once

#include "store/Query.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPrinter;
class QToolButton;

namespace stats {

class BarChart;

/// The chart window: the rows of 图形显示 as a bar chart whose shape,
/// view and bar colours the cashier may change, saved as a bitmap or
/// printed.
class TForm_dbbar : public QDialog {
    Q_OBJECT
public:
    explicit TForm_dbbar(QWidget* owner);
    ~TForm_dbbar() override;

    /// The window's own query on 图形显示; the chart follows its rows.
    store::Query& table() { return m_table; }
    /// Opens the table over the data module's connection.
    void openTable();
    void setChartTitle(const QString& title);
    BarChart* chart() const { return m_chart; }

private:
    void reloadBars();
    void chooseBarColor(int index);
    void saveBitmap();
    void print();
    /// Sets `printer` to where the chart goes; false when the user cancelled.
    bool choosePrinter(QPrinter& printer);

    store::Query m_table;
    QComboBox* m_shapes;
    QCheckBox* m_threeDimensional;
    QToolButton* m_save;
    QToolButton* m_print;
    QToolButton* m_exit;
    BarChart* m_chart;
};

} // namespace stats
