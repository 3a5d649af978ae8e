#include "GridFooter.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>

namespace lists {

GridFooter::GridFooter(QTableView* view, QWidget* parent) : QWidget(parent), m_view(view) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    auto repaint = [this] { update(); };
    connect(view->horizontalHeader(), &QHeaderView::sectionResized, this, repaint);
    connect(view->horizontalHeader(), &QHeaderView::sectionMoved, this, repaint);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, repaint);
}

void GridFooter::setTexts(const QStringList& texts, const QList<Qt::Alignment>& alignments) {
    m_texts = texts;
    m_alignments = alignments;
    update();
}

QSize GridFooter::sizeHint() const { return QSize(100, fontMetrics().height() + 6); }

void GridFooter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(0, 0, width(), 0);
    const QHeaderView* header = m_view->horizontalHeader();
    // The body starts right of the row indicator column and the view's frame.
    const int offset = m_view->verticalHeader()->isVisible() ? m_view->verticalHeader()->width() : 0;
    const int left = m_view->frameWidth() + offset;
    for (int column = 0; column < m_texts.size(); ++column) {
        if (header->isSectionHidden(column))
            continue;
        const int x = left + header->sectionViewportPosition(column);
        const int w = header->sectionSize(column);
        const QRect cell(x, 1, w, height() - 1);
        painter.setPen(QColor(200, 200, 200));
        painter.drawLine(cell.topRight(), cell.bottomRight());
        painter.setPen(Qt::black);
        painter.drawText(cell.adjusted(3, 0, -3, 0), int(m_alignments.value(column, Qt::AlignLeft) | Qt::AlignVCenter),
                         m_texts[column]);
    }
}

} // namespace lists
