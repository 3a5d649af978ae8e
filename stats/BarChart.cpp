#include "BarChart.h"

#include "BarChartGeometry.h"
#include "BarChartPainter.h"

#include <QMouseEvent>
#include <QPainter>

namespace stats {

BarChart::BarChart(QWidget* parent)
    : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
}

BarChart::~BarChart() = default;

void BarChart::setTitle(const QString& title) {
    m_data.title = title;
    changed();
}

void BarChart::setBars(const QList<QString>& labels, const QList<store::Currency>& values) {
    QList<BarChartBar> bars;
    for (int i = 0; i < labels.size() && i < values.size(); ++i) {
        const QColor color = i < m_data.bars.size() ? m_data.bars[i].color : barPaletteColor(i);
        bars.append({labels[i], values[i], color});
    }
    m_data.bars = bars;
    changed();
}

void BarChart::setBarColor(int index, const QColor& color) {
    if (index < 0 || index >= m_data.bars.size())
        return;
    m_data.bars[index].color = color;
    update();
}

void BarChart::setShape(BarShape shape) {
    m_data.shape = shape;
    changed();
}

void BarChart::setThreeDimensional(bool on) {
    m_data.threeDimensional = on;
    changed();
}

const BarChartGeometry& BarChart::chartGeometry() const {
    if (!m_geometry || m_geometry->size() != QSizeF(size()))
        m_geometry = std::make_unique<BarChartGeometry>(m_data, QSizeF(size()));
    return *m_geometry;
}

QImage BarChart::picture() const {
    QImage image(size(), QImage::Format_RGB32);
    QPainter painter(&image);
    paintBarChart(painter, m_data, chartGeometry());
    return image;
}

void BarChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintBarChart(painter, m_data, chartGeometry());
}

void BarChart::mousePressEvent(QMouseEvent* event) {
    const int bar = chartGeometry().barAt(event->position());
    if (bar >= 0)
        emit barClicked(bar);
    else
        QWidget::mousePressEvent(event);
}

void BarChart::mouseMoveEvent(QMouseEvent* event) {
    if (chartGeometry().barAt(event->position()) >= 0)
        setCursor(Qt::UpArrowCursor);
    else
        unsetCursor();
    QWidget::mouseMoveEvent(event);
}

void BarChart::resizeEvent(QResizeEvent* event) {
    m_geometry.reset();
    QWidget::resizeEvent(event);
}

void BarChart::changed() {
    m_geometry.reset();
    update();
}

} // namespace stats
