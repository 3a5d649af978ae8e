#include "TForm_preview.h"

#include "PrintDialogs.h"
#include "PrintOutput.h"
#include "TForm_printsetup.h"

#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QProgressDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace lists {

namespace {

QPointer<TForm_preview> s_preview;

constexpr int kPageWidth = -1;
constexpr int kWholePage = -2;
constexpr int kBorder = 12; // grey around the sheet, in screen pixels

struct ZoomChoice {
    const char16_t* text;
    int percent;
};

constexpr ZoomChoice kZoomChoices[] = {
    {u"500%", 500},
    {u"200%", 200},
    {u"150%", 150},
    {u"100%", 100},
    {u"75%", 75},
    {u"50%", 50},
    {u"25%", 25},
    {u"10%", 10},
    {u"页宽显示", kPageWidth},
    {u"整页显示", kWholePage},
};

} // namespace

/// One sheet of the previewed document, drawn at the preview's zoom.
class PreviewPage : public QWidget {
public:
    explicit PreviewPage(TForm_preview* preview)
        : QWidget(nullptr)
        , m_preview(preview) {
        setObjectName(QStringLiteral("PreviewPage"));
    }

    void fitSheet() {
        const PrintDocument* document = m_preview->document();
        const QSizeF paper = document ? document->canvas().paper : QSizeF(0, 0);
        const qreal scale = m_preview->viewScale();
        setFixedSize(int(paper.width() * scale) + 2 * kBorder,
                     int(paper.height() * scale) + 2 * kBorder);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const PrintDocument* document = m_preview->document();
        if (!document || document->pageCount() == 0)
            return;
        const qreal scale = m_preview->viewScale();
        const QRectF sheet(kBorder, kBorder, document->canvas().paper.width() * scale,
                           document->canvas().paper.height() * scale);
        QPainter painter(this);
        painter.fillRect(sheet.translated(3, 3), QColor(96, 96, 96));
        painter.fillRect(sheet, Qt::white);
        painter.setPen(QColor(64, 64, 64));
        painter.drawRect(sheet);
        painter.setClipRect(sheet);
        painter.translate(sheet.topLeft());
        painter.scale(scale, scale);
        painter.setRenderHint(QPainter::Antialiasing);
        document->renderPage(std::clamp(m_preview->currentPage(), 0, document->pageCount() - 1),
                             painter);
    }

private:
    TForm_preview* m_preview;
};

TForm_preview::TForm_preview(QWidget* owner)
    : QMainWindow(owner, Qt::Window) {
    setObjectName(QStringLiteral("TForm_preview"));
    setWindowTitle(QStringLiteral("打印预览"));
    buildToolBar();

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setWidgetResizable(false);
    m_pageView = new PreviewPage(this);
    m_scroll->setWidget(m_pageView);
    m_scroll->viewport()->installEventFilter(this);
    setCentralWidget(m_scroll);

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    m_status = new QLabel(statusBar());
    m_status->setObjectName(QStringLiteral("StatusPanel1"));
    statusBar()->addWidget(m_status, 1);

    if (owner)
        adopt(owner);
    updateControls();
}

void TForm_preview::buildToolBar() {
    auto* bar = addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->toggleViewAction()->setEnabled(false);
    const auto button = [&](const char* name, const QString& caption, const QString& hint) {
        auto* b = new QToolButton(bar);
        b->setObjectName(QLatin1String(name));
        b->setText(caption);
        b->setToolTip(hint);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setAutoRaise(true);
        bar->addWidget(b);
        return b;
    };
    m_print = button("tbPrint", QStringLiteral("打印"), QStringLiteral("打印"));
    m_setupButton = button("tbPrintSetup", QStringLiteral("打印设置"), QStringLiteral("打印设置"));
    bar->addSeparator();
    m_zoom = button("tbZoom", QStringLiteral("缩放"), QStringLiteral("显示比例"));
    m_zoom->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(m_zoom);
    menu->setObjectName(QStringLiteral("ZoomMenu"));
    m_zoomChoices = new QActionGroup(this);
    m_zoomChoices->setExclusive(true);
    for (const ZoomChoice& choice : kZoomChoices) {
        QAction* action = menu->addAction(QString::fromUtf16(choice.text));
        action->setCheckable(true);
        action->setData(choice.percent);
        m_zoomChoices->addAction(action);
        if (choice.percent == kWholePage)
            action->setChecked(true);
    }
    m_zoom->setMenu(menu);
    bar->addSeparator();
    m_previous = button("tbPrevious", QStringLiteral("上一页"), QStringLiteral("上一页"));
    m_next = button("tbNext", QStringLiteral("下一页"), QStringLiteral("下一页"));
    bar->addSeparator();
    m_stop = button("tbStop", QStringLiteral("停止"), QStringLiteral("停止打印"));
    m_close = button("tbClose", QStringLiteral("关闭"), QStringLiteral("关闭预览"));

    connect(m_print, &QToolButton::clicked, this, &TForm_preview::print);
    connect(m_setupButton, &QToolButton::clicked, this, &TForm_preview::editSetup);
    connect(m_zoomChoices, &QActionGroup::triggered, this, [this] { updateView(); });
    connect(m_previous, &QToolButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(m_next, &QToolButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(m_stop, &QToolButton::clicked, this, [this] { m_stopRequested = true; });
    connect(m_close, &QToolButton::clicked, this, &QWidget::close);
}

TForm_preview* TForm_preview::instance() {
    return s_preview;
}

TForm_preview* TForm_preview::showDocument(QWidget* owner, PrintSetup& setup,
                                           TableSnapshot snapshot) {
    if (!s_preview)
        s_preview = new TForm_preview(owner);
    else
        s_preview->adopt(owner);
    TForm_preview* preview = s_preview;
    preview->m_ownerSetup = owner ? &setup : nullptr;
    preview->m_setup = setup;
    preview->m_snapshot = snapshot;
    preview->m_printedAt = QDateTime::currentDateTime();
    preview->bringToFront();
    preview->layOut(std::make_unique<PrintDocument>(std::move(snapshot), setup, outputCanvas(setup),
                                                    preview->m_printedAt));
    return preview;
}

void TForm_preview::adopt(QWidget* owner) {
    if (owner == m_owner && owner == parentWidget())
        return;
    if (m_ownerWatch)
        disconnect(m_ownerWatch);
    m_owner = owner;
    m_ownerSetup = nullptr;
    m_ownerParent = owner && owner->parentWidget() ? owner->parentWidget()->window() : nullptr;
    const bool wasShown = isVisible();
    setParent(owner, windowFlags() | Qt::Window);
    if (owner)
        m_ownerWatch = connect(owner, &QObject::destroyed, this, [this] { ownerGone(); });
    if (wasShown)
        bringToFront();
}

// The list window is going away: the preview keeps its document and moves to
// the window behind it. The setup belonged to the list window.
void TForm_preview::ownerGone() {
    m_owner = nullptr;
    m_ownerSetup = nullptr;
    const bool wasShown = isVisible();
    setParent(m_ownerParent, windowFlags() | Qt::Window);
    if (wasShown)
        bringToFront();
}

void TForm_preview::bringToFront() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    show();
    raise();
    activateWindow();
}

void TForm_preview::layOut(std::unique_ptr<PrintDocument> document) {
    if (m_layingOut) {
        // The running layout stops at its next chunk and this one follows.
        m_pending = std::move(document);
        m_stopRequested = true;
        return;
    }
    while (document) {
        m_document = std::move(document);
        m_page = 0;
        m_layingOut = true;
        m_stopRequested = false;
        updateControls();
        m_document->layOut([this] {
            QApplication::processEvents();
            return !m_stopRequested;
        });
        m_layingOut = false;
        document = std::move(m_pending);
    }
    m_stopRequested = false;
    updateControls();
    updateView();
}

void TForm_preview::showPage(int index) {
    if (!m_document || m_document->pageCount() == 0)
        return;
    m_page = std::clamp(index, 0, m_document->pageCount() - 1);
    updateControls();
    m_pageView->update();
    m_scroll->verticalScrollBar()->setValue(0);
}

QString TForm_preview::zoomText() const {
    const QAction* chosen = m_zoomChoices->checkedAction();
    return chosen ? chosen->text() : QString();
}

qreal TForm_preview::viewScale() const {
    if (!m_document)
        return 1;
    const QSizeF paper = m_document->canvas().paper;
    const QAction* chosen = m_zoomChoices->checkedAction();
    const int percent = chosen ? chosen->data().toInt() : kWholePage;
    const QSize room = m_scroll->viewport()->size() - QSize(2 * kBorder, 2 * kBorder);
    const qreal byWidth = std::max(room.width(), 50) / paper.width();
    if (percent == kPageWidth)
        return byWidth;
    if (percent == kWholePage)
        return std::min(byWidth, std::max(room.height(), 50) / paper.height());
    return percent / 100.0 * logicalDpiX() / m_document->canvas().resolution;
}

void TForm_preview::updateControls() {
    const int pages = m_document ? m_document->pageCount() : 0;
    const bool ready = m_document && !m_layingOut;
    m_print->setEnabled(ready && m_document->isComplete() && pages > 0);
    m_setupButton->setEnabled(ready);
    m_zoom->setEnabled(pages > 0);
    m_previous->setEnabled(!m_layingOut && m_page > 0);
    m_next->setEnabled(!m_layingOut && m_page < pages - 1);
    m_stop->setEnabled(m_layingOut);
    m_close->setEnabled(!m_layingOut);
    m_status->setText(QStringLiteral("页 %1 of %2").arg(pages > 0 ? m_page + 1 : 0).arg(pages));
}

void TForm_preview::updateView() {
    m_pageView->fitSheet();
}

void TForm_preview::print() {
    if (!m_document || m_layingOut || !m_document->isComplete())
        return;
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, m_document->setup());
    const std::optional<PageRange> range = choosePrintRange(this, printer, m_document->pageCount());
    if (!range)
        return;
    if (printer.outputFormat() == QPrinter::PdfFormat &&
        ui::writesOverTheBook(printer.outputFileName())) {
        ui::warn(this, QStringLiteral("不能打印到数据库文件或属于它的文件，请另选文件名！"));
        return;
    }

    const int count = std::max(0, range->to - range->from + 1);
    QProgressDialog progress(QStringLiteral("正在打印..."), QStringLiteral("停止"), 0, count, this);
    progress.setObjectName(QStringLiteral("PrintProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(800);
    bool stopped = false;
    QString fileError;
    const bool printed = printPages(
        *m_document, printer, *range,
        [&](int done) {
            progress.setValue(done);
            stopped = progress.wasCanceled();
            return !stopped;
        },
        &fileError);
    progress.reset();
    if (!fileError.isEmpty())
        ui::warn(this,
                 QStringLiteral("不能写入文件 %1：%2").arg(printer.outputFileName(), fileError));
    else if (!printed && !stopped)
        ui::warn(this, QStringLiteral("打印没有完成，请检查打印机。"));
}

void TForm_preview::editSetup() {
    if (!m_document || m_layingOut)
        return;
    PrintSetup& target = m_ownerSetup ? *m_ownerSetup : m_setup;
    if (!TForm_printsetup::edit(this, target))
        return;
    m_setup = target;
    layOut(
        std::make_unique<PrintDocument>(m_snapshot, m_setup, outputCanvas(m_setup), m_printedAt));
}

void TForm_preview::closeEvent(QCloseEvent* event) {
    // Closing while laying out stops the layout first.
    if (m_layingOut)
        m_stopRequested = true;
    event->accept();
}

void TForm_preview::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageDown:
        showPage(m_page + 1);
        return;
    case Qt::Key_PageUp:
        showPage(m_page - 1);
        return;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier) {
            showPage(0);
            return;
        }
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) {
            showPage(m_document ? m_document->pageCount() - 1 : 0);
            return;
        }
        break;
    default:
        break;
    }
    QMainWindow::keyPressEvent(event);
}

bool TForm_preview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize)
        updateView();
    return QMainWindow::eventFilter(watched, event);
}

} // namespace lists
