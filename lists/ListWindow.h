#pragma once

#include "GridColumn.h"
#include "ListWindowTraits.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace store {
class Query;
}
namespace ui {
class DataSource;
class DBNavigator;
} // namespace ui

namespace lists {

class DataGrid;
struct PrintSetup;

/// The frame of every list window: a navigator and the common buttons above
/// one data grid over a shared query, the two-colour and fit-to-width boxes,
/// hiding and re-showing columns, deleting with confirmation, re-sorting by
/// the column titles, printing and export. A window adds its own buttons and
/// fields; its traits says how it differs from the others.
class ListWindow : public QDialog {
    Q_OBJECT
public:
    ListWindow(QWidget* owner, const ListWindowTraits& traits, ui::DataSource* source,
               const QList<GridColumn>& columns);
    ~ListWindow() override;

    DataGrid* grid() const { return m_grid; }
    store::Query* query() const;
    const ListWindowTraits& traits() const { return m_traits; }

    /// "删除": after confirmation deletes the current record of the grid's query.
    void deleteRecord();
    /// "导出": writes every record to a file the user names.
    void exportList();
    /// "打印": lays the list out in pages and shows the print preview.
    void printList();
    /// The window's print setup, kept as long as the window.
    PrintSetup& printSetup() { return *m_printSetup; }

protected:
    /// Adds a flat button to the top bar, after the ones added before it.
    QToolButton* addButton(const QString& objectName, const QString& caption);
    /// The common buttons, for windows that arrange or hide them.
    QToolButton* exportButton() const { return m_export; }
    QToolButton* deleteButton() const { return m_delete; }
    QToolButton* printButton() const { return m_print; }
    QToolButton* closeButton() const { return m_close; }
    ui::DBNavigator* navigator() const { return m_navigator; }
    /// Puts the common buttons into the top bar in the window's order; names
    /// not among the common ones are buttons added with addButton().
    void arrangeButtons(const QStringList& objectNames);
    /// The area beside the grid and below the frame, for editing windows.
    QHBoxLayout* bodyLayout() const { return m_body; }
    QVBoxLayout* mainLayout() const { return m_layout; }
    /// The row of "区分列表" and "满屏显示" and the column buttons.
    QHBoxLayout* optionsRow() const { return m_optionsRow; }

    /// The criteria of a list over an account and a span of days.
    struct AccountAndDays {
        QComboBox* accounts;
        QLineEdit* from;
        QLineEdit* to;
        QPushButton* show;
    };
    /// Adds the criteria row below the top bar: `accountLabel` and the
    /// accounts, "日期  从：" and "到：" with two date fields, `extras`, and
    /// "查询 (&F)", Enter moving from the accounts through the dates to 查询.
    AccountAndDays addAccountAndDaysCriteria(const QString& accountLabel,
                                             const QList<QWidget*>& extras = {});

    /// A window-specific check before print and export (the bank journal's
    /// account); false stops the command.
    virtual bool readyToPrintOrExport() { return true; }
    /// The page header's centre text; the voucher statistics replace it.
    virtual QString printTitle() const { return m_traits.printTitle; }
    /// The proposed file name of an export.
    virtual QString exportName() const { return m_traits.exportName; }
    /// The double click on a row.
    virtual void rowAction() {}
    /// The double click in the grid where there is no row.
    virtual void blankAction() {}
    void keyPressEvent(QKeyEvent* event) override;

private:
    void hideRightmostColumn();
    void reshowLastHidden();
    void reshowColumn(QAction* entry);
    void resortQuery();
    /// The marks tell the order the rows stand in: when a command reopens the
    /// query in its own order (a fill, a recomputation, a search), they go.
    void dropStaleMarkers();
    void updateColumnButtons();

    ListWindowTraits m_traits;
    ui::DataSource* m_source;
    DataGrid* m_grid;
    ui::DBNavigator* m_navigator;
    QVBoxLayout* m_layout;
    QHBoxLayout* m_buttons;
    QHBoxLayout* m_body;
    QHBoxLayout* m_optionsRow = nullptr;
    QToolButton* m_export;
    QToolButton* m_delete;
    QToolButton* m_print;
    QToolButton* m_close;
    QList<QToolButton*> m_added;
    QCheckBox* m_dichromatic = nullptr;
    QCheckBox* m_fit = nullptr;
    QToolButton* m_showHidden = nullptr;
    QToolButton* m_hideRightmost = nullptr;
    QMenu* m_hiddenMenu = nullptr;
    std::unique_ptr<PrintSetup> m_printSetup;
    // The query text the last re-sort opened.
    QStringList m_sortedSql;
};

} // namespace lists
