#pragma once

#include <QStringList>
#include <QWidget>

class QTableView;

namespace lists {

/// The footer row under a grid's body: one cell per column, lined up with the
/// title row and scrolling with it. A count or a sum too wide for its cell
/// shows "#" marks, with the whole text as the cell's tooltip.
class GridFooter : public QWidget {
    Q_OBJECT
public:
    explicit GridFooter(QTableView* view, QWidget* parent = nullptr);

    /// `numbers` marks the cells that hold a count or a sum.
    void setTexts(const QStringList& texts, const QList<Qt::Alignment>& alignments,
                  const QList<bool>& numbers);
    /// What a column's cell shows at the column's width now.
    QString shownText(int column) const;
    /// The room a cell leaves its text: the column less this on both sides.
    static constexpr int kTextMargin = 3;
    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect cellRect(int column) const;

    QTableView* m_view;
    QStringList m_texts;
    QList<Qt::Alignment> m_alignments;
    QList<bool> m_numbers;
};

} // namespace lists
