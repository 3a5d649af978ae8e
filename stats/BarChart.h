#pragma once

#include "BarChartData.h"

#include <QImage>
#include <QWidget>

#include <memory>

namespace stats {

class BarChartGeometry;

/// The statistics chart on screen: paints the bars of its data and tells
/// which bar the user clicked.
class BarChart : public QWidget {
    Q_OBJECT
public:
    explicit BarChart(QWidget* parent = nullptr);
    ~BarChart() override;

    const BarChartData& data() const { return m_data; }
    void setTitle(const QString& title);
    /// Bars that keep their position keep the colour they have.
    void setBars(const QList<QString>& labels, const QList<store::Currency>& values);
    void setBarColor(int index, const QColor& color);
    void setShape(BarShape shape);
    void setThreeDimensional(bool on);

    /// The layout at the widget's present size.
    const BarChartGeometry& chartGeometry() const;
    /// The whole chart drawn at the widget's present size.
    QImage picture() const;

signals:
    void barClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void changed();

    BarChartData m_data;
    mutable std::unique_ptr<BarChartGeometry> m_geometry;
};

} // namespace stats
