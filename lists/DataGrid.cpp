#include "DataGrid.h"

#include "CellTextMeasurer.h"
#include "ColumnFitting.h"
#include "CopiedRows.h"
#include "GridFooter.h"
#include "QueryTableModel.h"
#include "WholeValueDelegate.h"

#include "store/Currency.h"
#include "store/Query.h"
#include "ui/Fonts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace lists {

namespace {
constexpr int kDefaultCellPixels = 12;
constexpr int kNarrowestColumn = 8;
} // namespace

DataGrid::DataGrid(QWidget* parent)
    : QWidget(parent), m_view(new QTableView(this)), m_model(new QueryTableModel(this)),
      m_footer(new GridFooter(m_view, this)), m_delegate(new WholeValueDelegate(this)) {
    setObjectName(QStringLiteral("DBGridEh1"));
    m_view->setObjectName(QStringLiteral("DBGridEh1View"));
    m_footer->setObjectName(QStringLiteral("DBGridEh1Footer"));
    m_view->setModel(m_model);
    m_view->setItemDelegate(m_delegate);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    setCopyAndSelectAll(true);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setShowGrid(true);
    m_view->setWordWrap(false);
    m_view->setAlternatingRowColors(false);
    m_view->horizontalHeader()->setSectionsClickable(true);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // The default follows the font's widest glyph, which a CJK face makes wide.
    m_view->horizontalHeader()->setMinimumSectionSize(kNarrowestColumn);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setFixedWidth(14);
    m_view->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    QPalette p = m_view->palette();
    p.setColor(QPalette::Base, Qt::white);
    m_view->setPalette(p);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_footer);
    setFontSizes(kDefaultCellPixels, kDefaultCellPixels);

    connect(m_model, &QueryTableModel::contentsChanged, this, &DataGrid::refreshFooter);
    // A reset gives the title row its default sections; the grid lays them out again.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { ++m_sizingSections; });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        for (int c = 0; c < m_visible.size(); ++c)
            m_view->setColumnHidden(c, !m_visible[c]);
        --m_sizingSections;
        applyWidths();
        if (store::Query* q = query())
            followQueryCursor(q->currentIndex());
    });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { titleClicked(column, m_lastPressHadCtrl); });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) {
                if (m_sizingSections == 0)
                    userResized(column, width);
            });
    connect(m_view, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit rowDoubleClicked();
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                store::Query* q = query();
                if (m_followingQuery || m_model->removingRows() || !q || !q->isOpen() ||
                    !current.isValid() || current.row() == q->currentIndex())
                    return;
                q->moveTo(current.row());
                // A changed row the window would not let go keeps the cursor; the
                // grid returns to it once the click or key that moved it is done.
                if (q->currentIndex() != current.row())
                    QMetaObject::invokeMethod(
                        this,
                        [this] {
                            if (store::Query* q = query())
                                followQueryCursor(q->currentIndex());
                        },
                        Qt::QueuedConnection);
            });
    m_view->horizontalHeader()->viewport()->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
    m_view->installEventFilter(this);
    installEventFilter(this);
}

DataGrid::~DataGrid() = default;

void DataGrid::setQuery(store::Query* query) {
    if (store::Query* old = this->query())
        disconnect(old, nullptr, this, nullptr);
    m_model->setQuery(query);
    if (query)
        connect(query, &store::Query::currentChanged, this, &DataGrid::followQueryCursor);
    refreshFooter();
}

store::Query* DataGrid::query() const { return m_model->query(); }

void DataGrid::setColumns(const QList<GridColumn>& columns) {
    m_visible = QList<bool>(columns.size(), true);
    m_baseWidths.clear();
    for (const GridColumn& column : columns)
        m_baseWidths << column.width;
    m_dragged = QList<bool>(columns.size(), false);
    m_arrangedFor = -1;
    m_markers.clear();
    m_model->setColumns(columns);
    refreshHeaders();
    refreshFooter();
}

const QList<GridColumn>& DataGrid::columns() const { return m_model->columns(); }

void DataGrid::setFooterTexts(const QStringList& texts) {
    for (int c = 0; c < columns().size() && c < texts.size(); ++c) {
        if (columns()[c].footer == FooterKind::StaticText)
            m_model->setFooterText(c, texts[c]);
    }
    refreshFooter();
}

bool DataGrid::isColumnVisible(int column) const { return m_visible.value(column, false); }

int DataGrid::visibleColumnCount() const { return int(std::count(m_visible.begin(), m_visible.end(), true)); }

void DataGrid::setColumnVisible(int column, bool visible) {
    if (column < 0 || column >= m_visible.size())
        return;
    m_visible[column] = visible;
    ++m_sizingSections;
    m_view->setColumnHidden(column, !visible);
    --m_sizingSections;
    // The others share the width anew, from what the user arranged.
    m_arrangedFor = -1;
    applyWidths();
    refreshFooter();
}

void DataGrid::moveColumn(int from, int to) {
    QList<GridColumn> columns = m_model->columns();
    if (from < 0 || from >= columns.size() || to < 0 || to >= columns.size() || from == to)
        return;
    // Markers and visibility follow their columns to the new positions.
    QList<int> order;
    for (int i = 0; i < columns.size(); ++i)
        order << i;
    order.move(from, to);
    columns.move(from, to);
    m_visible.move(from, to);
    m_baseWidths.move(from, to);
    m_dragged.move(from, to);
    SortMarkers moved;
    for (int old : m_markers.markedColumns()) {
        const int now = int(order.indexOf(old));
        moved.ctrlClick(now);
        if (m_markers.marker(old) == SortMarker::Descending)
            moved.ctrlClick(now);
    }
    m_markers = moved;
    m_model->setColumns(columns);
    refreshHeaders();
    refreshFooter();
}

int DataGrid::indexOfField(const QString& fieldName) const {
    const QList<GridColumn>& columns = m_model->columns();
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].fieldName == fieldName)
            return i;
    }
    return -1;
}

int DataGrid::columnWidth(int column) const { return m_view->columnWidth(column); }

void DataGrid::setFontSizes(int cellPixels, int footerPixels) {
    m_cellFont = ui::songFont(cellPixels);
    m_footerFont = ui::songFont(footerPixels);
    m_view->setFont(m_cellFont);
    m_view->horizontalHeader()->setFont(m_cellFont);
    m_footer->setFont(m_footerFont);
    // One line of text plus two pixels.
    const int rowHeight = int(std::ceil(ui::textLineHeight(m_cellFont))) + 2;
    m_view->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_view->verticalHeader()->setMinimumSectionSize(rowHeight);
    m_footer->setFixedHeight(QFontMetrics(m_footerFont).height() + 6);
    m_cellMeasurer = std::make_unique<CellTextMeasurer>(m_cellFont);
    m_footerMeasurer = std::make_unique<CellTextMeasurer>(m_footerFont);
    m_neededWidths.clear();
    refreshFooter();
}

void DataGrid::setDichromatic(bool on) {
    m_model->setDichromatic(on);
    m_view->viewport()->update();
}

bool DataGrid::dichromatic() const { return m_model->dichromatic(); }

void DataGrid::setFitToWidth(bool on) {
    m_fit = on;
    applyWidths();
}

void DataGrid::setCopyAndSelectAll(bool on) {
    m_copyAndSelectAll = on;
    m_view->setSelectionMode(on ? QAbstractItemView::ExtendedSelection
                                : QAbstractItemView::SingleSelection);
}

QList<int> DataGrid::shownColumns() const {
    QList<int> shown;
    for (int c = 0; c < m_visible.size(); ++c) {
        if (m_visible[c])
            shown << c;
    }
    return shown;
}

qreal DataGrid::narrowestWidth(int column) const {
    int needed = m_neededWidths.value(column);
    // A column the user made narrower than its text keeps that width and shows marks.
    if (m_dragged.value(column))
        needed = std::min(needed, m_baseWidths.value(column));
    return std::max(needed, kNarrowestColumn);
}

void DataGrid::applyWidths() {
    const QList<int> shown = shownColumns();
    QList<qreal> base;
    QList<qreal> narrowest;
    for (int c : shown) {
        base << m_baseWidths.value(c);
        narrowest << narrowestWidth(c);
    }
    const int available = m_view->viewport()->width();
    m_laidOutFor = available;
    const bool fit = m_fit && !shown.isEmpty() && available > 0;
    QList<qreal> widths;
    if (fit && m_arrangedFor != available) {
        // Dates and amounts keep what they need; the other columns give way.
        widths = fitColumnWidths(base, narrowest, available);
    } else {
        // The designed widths, or what the user arranged for this width.
        for (qsizetype i = 0; i < shown.size(); ++i)
            widths << std::max(base[i], narrowest[i]);
    }
    setWidths(shown, wholePixels(widths, fit ? available : -1));
}

void DataGrid::setWidths(const QList<int>& columns, const QList<int>& widths) {
    ++m_sizingSections;
    for (qsizetype i = 0; i < columns.size() && i < widths.size(); ++i)
        m_view->setColumnWidth(columns[i], widths[i]);
    --m_sizingSections;
    int used = 0;
    for (int c : shownColumns())
        used += m_view->columnWidth(c);
    // A grid too narrow for what its dates and amounts need scrolls.
    m_view->setHorizontalScrollBarPolicy(m_fit && used <= m_view->viewport()->width()
                                             ? Qt::ScrollBarAlwaysOff
                                             : Qt::ScrollBarAsNeeded);
}

void DataGrid::userResized(int column, int width) {
    if (!m_visible.value(column))
        return;
    m_resizedWhilePressed = m_titlePressed;
    m_dragged[column] = true;
    if (!m_fit) {
        m_baseWidths[column] = width;
        return;
    }
    // The columns right of the dragged one share what is left, in the
    // proportions they had before the drag.
    const QList<int> shown = shownColumns();
    QList<int> current;
    QList<qreal> proportions;
    QList<qreal> minimums;
    for (int c : shown) {
        current << m_view->columnWidth(c);
        proportions << m_baseWidths.value(c);
        minimums << (c == column ? kNarrowestColumn : narrowestWidth(c));
    }
    setWidths(shown, widthsAfterResize(current, proportions, minimums, shown.indexOf(column), width,
                                       m_view->viewport()->width()));
    if (!m_titlePressed)
        keepArrangement();
}

void DataGrid::keepArrangement() {
    for (int c : shownColumns())
        m_baseWidths[c] = m_view->columnWidth(c);
    m_arrangedFor = m_view->viewport()->width();
}

void DataGrid::copySelectedRows() const {
    QList<int> rows;
    for (const QItemSelectionRange& range : m_view->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows << row;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty() && m_view->currentIndex().isValid())
        rows << m_view->currentIndex().row();
    if (rows.isEmpty())
        return;
    const QList<int> shown = shownColumns();
    QStringList titles;
    for (int c : shown)
        titles << columns()[c].titleText().replace(QLatin1Char('|'), QLatin1Char(' '));
    QList<QStringList> texts;
    for (int row : std::as_const(rows)) {
        QStringList cells;
        for (int c : shown)
            cells << m_model->data(m_model->index(row, c), Qt::DisplayRole).toString();
        texts << cells;
    }
    QGuiApplication::clipboard()->setText(tabSeparatedRows(titles, texts));
}

void DataGrid::resizeEvent(QResizeEvent* event) { QWidget::resizeEvent(event); }

void DataGrid::titleClicked(int column, bool withCtrl) {
    if (column < 0 || column >= columns().size() || !columns()[column].titleButton)
        return;
    if (withCtrl) {
        m_markers.ctrlClick(column);
        m_sortPending = true;
        refreshHeaders();
        return;
    }
    m_markers.click(column);
    m_sortPending = false;
    refreshHeaders();
    emit sortChanged();
}

void DataGrid::reportPendingSort() {
    if (!m_sortPending)
        return;
    m_sortPending = false;
    emit sortChanged();
}

void DataGrid::clearMarkers() {
    m_markers.clear();
    refreshHeaders();
}

QString DataGrid::orderByClause() const {
    QList<QString> fields;
    for (const GridColumn& c : columns())
        fields << c.fieldName;
    return m_markers.orderByClause(fields);
}

bool DataGrid::gridKey(QKeyEvent* key) {
    if (key->matches(QKeySequence::Copy)) {
        if (m_copyAndSelectAll)
            copySelectedRows();
        return true;
    }
    if (key->matches(QKeySequence::SelectAll))
        return !m_copyAndSelectAll;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        // Enter moves as Tab does: the same key goes to the view.
        const int key = modifiers == Qt::ShiftModifier ? Qt::Key_Backtab : Qt::Key_Tab;
        QKeyEvent tab(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(m_view, &tab);
        return true;
    }
    return false;
}

bool DataGrid::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (watched == m_view->horizontalHeader()->viewport()) {
            m_lastPressHadCtrl = static_cast<QMouseEvent*>(event)->modifiers() & Qt::ControlModifier;
            m_titlePressed = true;
            m_resizedWhilePressed = false;
        }
        break;
    case QEvent::MouseButtonRelease:
        // A drag ends: what the user arranged is what the grid keeps.
        if (watched == m_view->horizontalHeader()->viewport()) {
            m_titlePressed = false;
            if (m_resizedWhilePressed && m_fit)
                keepArrangement();
            m_resizedWhilePressed = false;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == m_view->viewport() &&
            !m_view->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint()).isValid())
            emit blankDoubleClicked();
        break;
    case QEvent::KeyPress:
        if (watched == m_view && gridKey(static_cast<QKeyEvent*>(event)))
            return true;
        break;
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Control)
            reportPendingSort();
        break;
    case QEvent::Resize:
        // The columns fill the body, whose size is known only once it is laid out.
        if (watched == m_view->viewport() && m_fit && m_view->viewport()->width() != m_laidOutFor)
            applyWidths();
        break;
    case QEvent::FocusOut:
        if (watched == m_view)
            reportPendingSort();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void DataGrid::refreshHeaders() {
    const QList<GridColumn>& columns = m_model->columns();
    const bool showPositions = m_markers.markedColumns().size() >= 2;
    QStringList texts;
    for (int c = 0; c < columns.size(); ++c) {
        QString text = columns[c].titleText();
        text.replace(QLatin1Char('|'), QLatin1Char('\n'));
        switch (m_markers.marker(c)) {
        case SortMarker::Ascending:
            text += QStringLiteral(" ▲");
            break;
        case SortMarker::Descending:
            text += QStringLiteral(" ▼");
            break;
        case SortMarker::None:
            break;
        }
        if (showPositions && m_markers.position(c) > 0)
            text += QString::number(m_markers.position(c));
        texts << text;
    }
    m_model->setHeaderTexts(texts);
}

QString DataGrid::footerText(int column) const {
    if (column < 0 || column >= columns().size() || !query())
        return QString();
    try {
        return computeFooter(*query(), columns()[column]).text;
    } catch (const store::CurrencyOverflow&) {
        // No total rather than a wrong one; painting must not raise a box.
        return QStringLiteral("超出范围");
    }
}

void DataGrid::refreshFooter() {
    QStringList texts;
    QList<Qt::Alignment> alignments;
    QList<bool> numbers;
    for (int c = 0; c < columns().size(); ++c) {
        texts << footerText(c);
        alignments << m_model->alignment(c);
        const FooterKind kind = columns()[c].footer;
        numbers << (kind == FooterKind::Count || kind == FooterKind::Sum);
    }
    m_footer->setTexts(texts, alignments, numbers);
    if (measureWholeColumns(texts))
        applyWidths();
}

bool DataGrid::measureWholeColumns(const QStringList& footers) {
    if (!m_cellMeasurer)
        return false;
    const QList<GridColumn>& columns = m_model->columns();
    const QStyle* style = m_view->style();
    // Room a cell of the body, the title row and the footer keeps beside its text.
    const int cellMargin =
        2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_view) + 1) +
        (m_view->showGrid() ? 1 : 0);
    const int titleMargin =
        2 * style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, m_view->horizontalHeader());
    const int footerMargin = 2 * GridFooter::kTextMargin;
    const QFontMetricsF cellMetrics(m_cellFont);
    const QFontMetricsF footerMetrics(m_footerFont);
    const auto ceiling = [](qreal width) { return int(std::ceil(width - 1e-6)); };

    QList<int> needed(columns.size(), 0);
    const int rows = m_model->rowCount();
    for (int c = 0; c < columns.size(); ++c) {
        if (!m_model->keepsWhole(c))
            continue;
        // Summed advances find the widest text quickly; it is then measured shaped.
        qreal widest = -1;
        QString widestText;
        for (int row = 0; row < rows; ++row) {
            const QString text = m_model->data(m_model->index(row, c), Qt::DisplayRole).toString();
            const qreal width = m_cellMeasurer->lineWidth(text);
            if (width > widest) {
                widest = width;
                widestText = text;
            }
        }
        const qreal cells = std::max(widest, cellMetrics.horizontalAdvance(widestText));
        const QString title = columns[c].titleText().section(QLatin1Char('|'), -1);
        needed[c] = std::max({ceiling(cells) + cellMargin,
                              ceiling(cellMetrics.horizontalAdvance(title)) + titleMargin,
                              ceiling(footerMetrics.horizontalAdvance(footers.value(c))) + footerMargin});
    }
    if (needed == m_neededWidths)
        return false;
    m_neededWidths = needed;
    return true;
}

QString DataGrid::shownText(int row, int column) const {
    const QModelIndex index = m_model->index(row, column);
    QStyleOptionViewItem option;
    option.initFrom(m_view);
    option.widget = m_view;
    option.font = m_view->font();
    option.rect = m_view->visualRect(index);
    return m_delegate->shownText(option, index);
}

QString DataGrid::shownFooterText(int column) const { return m_footer->shownText(column); }

QColor DataGrid::rowBackground(int row) const {
    return m_model->data(m_model->index(row, 0), Qt::BackgroundRole).value<QColor>();
}

GridStyle DataGrid::style() const {
    GridStyle s;
    s.cellFont = m_cellFont;
    s.titleFont = m_cellFont;
    s.footerFont = m_footerFont;
    s.dichromatic = dichromatic();
    s.threeDimensionalFrame = m_threeDimensional;
    return s;
}

TableSnapshot DataGrid::snapshot() const {
    QList<GridColumn> shown;
    for (int c = 0; c < columns().size(); ++c) {
        if (!m_visible.value(c))
            continue;
        GridColumn column = columns()[c];
        column.width = m_view->columnWidth(c);
        shown << column;
    }
    if (!query())
        return TableSnapshot();
    TableSnapshot snapshot = buildSnapshot(*query(), shown, style());
    snapshot.buttonFace = palette().color(QPalette::Button);
    return snapshot;
}

void DataGrid::followQueryCursor(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    // The cell the user is on keeps its column; after a reset there is none.
    const QModelIndex current = m_view->currentIndex();
    if (current.isValid() && current.row() == row)
        return;
    int column = current.isValid() && m_visible.value(current.column()) ? current.column() : 0;
    while (column < m_visible.size() && !m_visible[column])
        ++column;
    const QModelIndex target =
        m_model->index(row, std::min(column, std::max(0, int(m_visible.size()) - 1)));
    m_followingQuery = true;
    m_view->setCurrentIndex(target);
    m_view->scrollTo(target);
    m_followingQuery = false;
}

} // namespace lists
