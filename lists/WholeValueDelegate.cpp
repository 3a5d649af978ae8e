#include "WholeValueDelegate.h"

#include "QueryTableModel.h"
#include "WholeText.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

namespace lists {

namespace {

// The view's style keeps this much room between a cell's edges and its text.
int textMargin(const QStyleOptionViewItem& option) {
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
}

} // namespace

void WholeValueDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(QueryTableModel::KeepWholeRole).toBool())
        option->text = wholeOrHashes(option->text, QFontMetricsF(option->font),
                                     option->rect.width() - 2 * textMargin(*option));
}

QString WholeValueDelegate::shownText(const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
    QStyleOptionViewItem shown = option;
    initStyleOption(&shown, index);
    if (index.data(QueryTableModel::KeepWholeRole).toBool())
        return shown.text;
    return QFontMetricsF(shown.font)
        .elidedText(shown.text, Qt::ElideRight, shown.rect.width() - 2 * textMargin(shown));
}

bool WholeValueDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event && event->type() == QEvent::ToolTip && index.isValid() &&
        index.data(QueryTableModel::KeepWholeRole).toBool()) {
        const QString whole = index.data(Qt::DisplayRole).toString();
        if (shownText(option, index) != whole) {
            QToolTip::showText(event->globalPos(), whole, view->viewport(), option.rect);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

} // namespace lists
