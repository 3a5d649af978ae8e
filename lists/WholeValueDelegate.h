#pragma once

#include <QStyledItemDelegate>

namespace lists {

/// Paints a grid's cells as the view does, except that a date or a number
/// too wide for its cell shows "#" marks instead of a part of it, with the
/// whole text as the cell's tooltip. The model tells such cells by
/// QueryTableModel::KeepWholeRole.
class WholeValueDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    /// The text a cell painted with `option` (its rect set) shows.
    QString shownText(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace lists
