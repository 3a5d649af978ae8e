#include "GridFooter.h"

#include "WholeText.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QToolTip>

namespace lists {

GridFooter::GridFooter(QTableView* view, QWidget* parent)
    : QWidget(parent)
    , m_view(view) {
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

void GridFooter::setTexts(const QStringList& texts, const QList<Qt::Alignment>& alignments,
                          const QList<bool>& numbers) {
    m_texts = texts;
    m_alignments = alignments;
    m_numbers = numbers;
    update();
}

QSize GridFooter::sizeHint() const {
    return QSize(100, fontMetrics().height() + 6);
}

QRect GridFooter::cellRect(int column) const {
    const QHeaderView* header = m_view->horizontalHeader();
    // The body starts right of the row indicator column and the view's frame.
    const int offset =
        m_view->verticalHeader()->isVisible() ? m_view->verticalHeader()->width() : 0;
    const int left = m_view->frameWidth() + offset;
    return QRect(left + header->sectionViewportPosition(column), 1, header->sectionSize(column),
                 height() - 1);
}

QString GridFooter::shownText(int column) const {
    const QString text = m_texts.value(column);
    if (!m_numbers.value(column))
        return text;
    return wholeOrHashes(text, QFontMetricsF(font()), cellRect(column).width() - 2 * kTextMargin);
}

bool GridFooter::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    for (int column = 0; column < m_texts.size(); ++column) {
        const QRect cell = cellRect(column);
        if (m_view->horizontalHeader()->isSectionHidden(column) || !cell.contains(help->pos()))
            continue;
        if (shownText(column) != m_texts[column]) {
            QToolTip::showText(help->globalPos(), m_texts[column], this, cell);
            return true;
        }
        break;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

void GridFooter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(0, 0, width(), 0);
    const QHeaderView* header = m_view->horizontalHeader();
    for (int column = 0; column < m_texts.size(); ++column) {
        if (header->isSectionHidden(column))
            continue;
        const QRect cell = cellRect(column);
        painter.setPen(QColor(200, 200, 200));
        painter.drawLine(cell.topRight(), cell.bottomRight());
        painter.setPen(Qt::black);
        painter.drawText(cell.adjusted(kTextMargin, 0, -kTextMargin, 0),
                         int(m_alignments.value(column, Qt::AlignLeft) | Qt::AlignVCenter),
                         shownText(column));
    }
}

} // namespace lists
