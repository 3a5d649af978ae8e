#include "ListWindow.h"

#include "DataGrid.h"
#include "FlatButton.h"
#include "HiddenColumns.h"
#include "PrintSetup.h"

#include "store/EngineError.h"
#include "store/Query.h"
#include "ui/Artwork.h"
#include "ui/DBNavigator.h"
#include "ui/DataSource.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace lists {

ListWindow::ListWindow(QWidget* owner, const ListWindowTraits& traits, ui::DataSource* source,
                       const QList<GridColumn>& columns)
    : QDialog(owner), m_traits(traits), m_source(source),
      m_printSetup(std::make_unique<PrintSetup>(listWindowPrintSetup(traits))) {
    setObjectName(traits.objectName);
    setWindowTitle(traits.title);
    setModal(true);

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(4, 4, 4, 4);
    m_layout->setSpacing(4);

    m_buttons = new QHBoxLayout;
    m_navigator = new ui::DBNavigator(this);
    m_navigator->setObjectName(QStringLiteral("DBNavigator1"));
    m_navigator->setDataSource(source);
    m_buttons->addWidget(m_navigator);
    m_export = flatButton(this, QStringLiteral("SpeedButton2"), QStringLiteral("导出"));
    m_delete = flatButton(this, QStringLiteral("SpeedButton1"), QStringLiteral("删除"));
    // The catalogues print nothing; their SpeedButton3 is a button of their own.
    m_print = traits.canPrint ? flatButton(this, QStringLiteral("SpeedButton3"), QStringLiteral("打印"))
                            : nullptr;
    m_close = flatButton(this, QStringLiteral("SpeedButton4"), QStringLiteral("返回"));
    for (QToolButton* b : {m_export, m_delete, m_print, m_close}) {
        if (b)
            m_buttons->addWidget(b);
    }
    // The flat buttons take no focus; each has a key instead, the same in every list window.
    ui::giveKey(m_export, Qt::Key_F9);
    ui::giveKey(m_delete, Qt::Key_F8);
    if (m_print)
        ui::giveKey(m_print, QKeySequence::Print);
    ui::giveKey(m_close, Qt::ALT | Qt::Key_R);
    m_buttons->addStretch();
    m_layout->addLayout(m_buttons);

    m_grid = new DataGrid(this);
    m_grid->setFontSizes(traits.cellPixels, traits.footerPixels);
    m_grid->setThreeDimensionalFrame(traits.threeDimensionalFrame);
    m_grid->setCopyAndSelectAll(traits.copyAndSelectAll);
    m_grid->setColumns(columns);
    m_grid->setQuery(source->query());

    if (traits.checkBoxes || traits.columnButtons != ListWindowTraits::ColumnButtons::None) {
        auto* row = new QHBoxLayout;
        m_optionsRow = row;
        if (traits.checkBoxes) {
            m_dichromatic = new QCheckBox(QStringLiteral("区分列表"), this);
            m_dichromatic->setObjectName(QStringLiteral("cbDichromatic"));
            m_fit = new QCheckBox(QStringLiteral("满屏显示"), this);
            m_fit->setObjectName(QStringLiteral("CheckBox1"));
            row->addWidget(m_dichromatic);
            row->addWidget(m_fit);
            m_dichromatic->setChecked(true);
            m_fit->setChecked(true);
            m_grid->setDichromatic(true);
            connect(m_dichromatic, &QCheckBox::toggled, m_grid, &DataGrid::setDichromatic);
            connect(m_fit, &QCheckBox::clicked, m_grid, &DataGrid::setFitToWidth);
        }
        row->addStretch();
        if (traits.columnButtons != ListWindowTraits::ColumnButtons::None) {
            m_showHidden = new QToolButton(this);
            m_showHidden->setObjectName(QStringLiteral("ToolButton1"));
            m_showHidden->setToolTip(QStringLiteral("显示隐藏的列"));
            m_showHidden->setIcon(
                ui::artwork::glyphIcon(ui::Dm1 ? ui::Dm1->Arrows.value(0) : QPixmap()));
            m_showHidden->setPopupMode(QToolButton::MenuButtonPopup);
            m_hiddenMenu = new QMenu(m_showHidden);
            m_hiddenMenu->setObjectName(QStringLiteral("HiddenColumnsMenu"));
            m_showHidden->setMenu(m_hiddenMenu);
            m_showHidden->setEnabled(false);
            m_hideRightmost = new QToolButton(this);
            m_hideRightmost->setObjectName(QStringLiteral("ToolButton2"));
            m_hideRightmost->setToolTip(QStringLiteral("隐藏最右边的列"));
            m_hideRightmost->setIcon(
                ui::artwork::glyphIcon(ui::Dm1 ? ui::Dm1->Arrows.value(1) : QPixmap()));
            m_hideRightmost->setEnabled(traits.columnButtons == ListWindowTraits::ColumnButtons::Enabled);
            ui::giveKey(m_showHidden, Qt::Key_F12);
            ui::giveKey(m_hideRightmost, Qt::Key_F11);
            for (QToolButton* b : {m_showHidden, m_hideRightmost}) {
                b->setAutoRaise(true);
                b->setFocusPolicy(Qt::NoFocus);
                row->addWidget(b);
            }
            connect(m_showHidden, &QToolButton::clicked, this, &ListWindow::reshowLastHidden);
            connect(m_hiddenMenu, &QMenu::triggered, this, &ListWindow::reshowColumn);
            connect(m_hideRightmost, &QToolButton::clicked, this, &ListWindow::hideRightmostColumn);
        }
        m_layout->addLayout(row);
    }
    m_grid->setFitToWidth(traits.startFitted);

    m_body = new QHBoxLayout;
    m_body->addWidget(m_grid, 1);
    m_layout->addLayout(m_body, 1);

    connect(m_delete, &QToolButton::clicked, this, &ListWindow::deleteRecord);
    connect(m_export, &QToolButton::clicked, this, &ListWindow::exportList);
    if (m_print)
        connect(m_print, &QToolButton::clicked, this, &ListWindow::printList);
    connect(m_close, &QToolButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(m_grid, &DataGrid::rowDoubleClicked, this, [this] { rowAction(); });
    connect(m_grid, &DataGrid::blankDoubleClicked, this, [this] { blankAction(); });
    if (traits.sorting == ListWindowTraits::Sorting::Requery) {
        connect(m_grid, &DataGrid::sortChanged, this, &ListWindow::resortQuery);
        if (store::Query* q = query())
            connect(q, &store::Query::reset, this, &ListWindow::dropStaleMarkers);
    }

    if (traits.maximised)
        setWindowState(Qt::WindowMaximized);
    m_grid->view()->setFocus();
}

ListWindow::~ListWindow() = default;

void ListWindow::keyPressEvent(QKeyEvent* event) {
    // A list window is left by "返回" (or its close box); Esc is no key of it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        return;
    QDialog::keyPressEvent(event);
}

store::Query* ListWindow::query() const { return m_source->query(); }

QToolButton* ListWindow::addButton(const QString& objectName, const QString& caption) {
    QToolButton* button = flatButton(this, objectName, caption);
    m_added << button;
    m_buttons->insertWidget(m_buttons->count() - 1, button);
    return button;
}

void ListWindow::arrangeButtons(const QStringList& objectNames) {
    QList<QToolButton*> all = {m_export, m_delete, m_print, m_close};
    all += m_added;
    int position = 1; // after the navigator
    for (const QString& name : objectNames) {
        for (QToolButton* b : all) {
            if (b && b->objectName() == name) {
                m_buttons->removeWidget(b);
                m_buttons->insertWidget(position++, b);
            }
        }
    }
}

void ListWindow::deleteRecord() {
    store::Query* q = query();
    if (!q || (m_traits.deleteNeeds == ListWindowTraits::DeleteNeeds::OpenQueryAndRecords && !q->isOpen()))
        return;
    if (!q->isOpen() || q->isEmpty())
        return;
    if (!ui::ask(this, QStringLiteral("要删除当前记录吗? ")))
        return;
    try {
        q->deleteCurrent();
    } catch (const store::EngineError& e) {
        // A refused deletion leaves the record; the cashier must know it is still there.
        q->cancel();
        ui::showError(this, e.message());
    }
}

void ListWindow::hideRightmostColumn() {
    if (m_grid->visibleColumnCount() <= m_traits.hideLimit)
        return;
    int rightmost = -1;
    for (int c = 0; c < m_grid->columnCount(); ++c) {
        if (m_grid->isColumnVisible(c))
            rightmost = c;
    }
    if (rightmost < 0)
        return;
    const GridColumn& column = m_grid->columns()[rightmost];
    auto* entry = new QAction(hiddenColumnCaption(column.titleText()), m_hiddenMenu);
    entry->setData(column.fieldName + QLatin1Char('\n') + column.titleText());
    const QList<QAction*> entries = m_hiddenMenu->actions();
    m_hiddenMenu->insertAction(entries.isEmpty() ? nullptr : entries.first(), entry);
    m_grid->setColumnVisible(rightmost, false);
    m_showHidden->setEnabled(true);
}

void ListWindow::reshowLastHidden() {
    const QList<QAction*> entries = m_hiddenMenu->actions();
    if (entries.isEmpty())
        return;
    delete entries.first();
    m_grid->setColumnVisible(m_grid->visibleColumnCount(), true);
    updateColumnButtons();
    m_hideRightmost->setEnabled(true);
}

void ListWindow::reshowColumn(QAction* entry) {
    const QString key = entry->data().toString();
    int column = -1;
    for (int c = 0; c < m_grid->columnCount(); ++c) {
        const GridColumn& g = m_grid->columns()[c];
        if (g.fieldName + QLatin1Char('\n') + g.titleText() == key)
            column = c;
    }
    if (column < 0)
        return;
    const int position = m_grid->visibleColumnCount();
    m_grid->moveColumn(column, position);
    m_grid->setColumnVisible(position, true);
    delete entry;
    updateColumnButtons();
}

void ListWindow::updateColumnButtons() {
    if (m_grid->visibleColumnCount() == m_grid->columnCount())
        m_showHidden->setEnabled(false);
}

void ListWindow::resortQuery() {
    store::Query* q = query();
    if (!q || !q->isOpen() || q->isEmpty())
        return;
    QStringList sql = q->sql();
    if (sql.isEmpty())
        return;
    sql.last() = m_grid->orderByClause();
    m_sortedSql = sql;
    q->openWith(sql);
    q->first();
}

void ListWindow::dropStaleMarkers() {
    store::Query* q = query();
    if (q && q->isOpen() && q->sql() != m_sortedSql && !m_grid->markers().markedColumns().isEmpty())
        m_grid->clearMarkers();
}

} // namespace lists
