#pragma once

#include <QStringList>
#include <QWidget>

class QTableView;

namespace lists {

/// The footer row under a grid's body: one cell per column, lined up with the
/// title row and scrolling with it.
class GridFooter : public QWidget {
    Q_OBJECT
public:
    explicit GridFooter(QTableView* view, QWidget* parent = nullptr);

    void setTexts(const QStringList& texts, const QList<Qt::Alignment>& alignments);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTableView* m_view;
    QStringList m_texts;
    QList<Qt::Alignment> m_alignments;
};

} // namespace lists
