#pragma once

#include "PrintDocument.h"
#include "PrintSetup.h"
#include "TableSnapshot.h"

#include <QDateTime>
#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QScrollArea;
class QToolButton;

namespace lists {

class PreviewPage;

/// The print preview "打印预览": one window for the whole run that shows the
/// document last printed from any list window, turns its pages, zooms, and
/// prints it or changes its setup. It is not modal: while a modal list window
/// is open it stays that window's child, so both take input.
class TForm_preview : public QMainWindow {
    Q_OBJECT

public:
    /// Lays out `snapshot` with `setup` in the preview window (made on first
    /// use) and brings it to the front, maximised. `setup` belongs to `owner`
    /// and must live as long as it; the setup dialog writes back into it
    /// while `owner` exists. Returns once the layout has ended.
    static TForm_preview* showDocument(QWidget* owner, PrintSetup& setup, TableSnapshot snapshot);
    /// The preview window, if one has been made.
    static TForm_preview* instance();

    const PrintDocument* document() const { return m_document.get(); }
    /// The page shown, from 0.
    int currentPage() const { return m_page; }
    void showPage(int index);
    /// The chosen zoom as its menu entry reads ("整页显示", "100%" ...).
    QString zoomText() const;
    bool isLayingOut() const { return m_layingOut; }
    /// Paper pixels per device unit of the document at the chosen zoom.
    qreal viewScale() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TForm_preview(QWidget* owner);
    void buildToolBar();
    void adopt(QWidget* owner);
    void ownerGone();
    void bringToFront();
    void layOut(std::unique_ptr<PrintDocument> document);
    void print();
    void editSetup();
    void updateControls();
    void updateView();

    QToolButton* m_print = nullptr;
    QToolButton* m_setupButton = nullptr;
    QToolButton* m_zoom = nullptr;
    QToolButton* m_previous = nullptr;
    QToolButton* m_next = nullptr;
    QToolButton* m_stop = nullptr;
    QToolButton* m_close = nullptr;
    QActionGroup* m_zoomChoices = nullptr;
    QScrollArea* m_scroll = nullptr;
    PreviewPage* m_pageView = nullptr;
    QLabel* m_status = nullptr;

    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_ownerParent; // where the window goes when its owner closes
    QMetaObject::Connection m_ownerWatch;
    PrintSetup* m_ownerSetup = nullptr; // valid while m_owner lives
    PrintSetup m_setup;                 // the setup of the document shown
    TableSnapshot m_snapshot;
    QDateTime m_printedAt;

    std::unique_ptr<PrintDocument> m_document;
    std::unique_ptr<PrintDocument> m_pending; // arrived while a layout was running
    int m_page = 0;
    bool m_layingOut = false;
    bool m_stopRequested = false;
};

} // namespace lists
