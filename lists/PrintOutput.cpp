#include "PrintOutput.h"

#include "PdfTextLayer.h"

#include "store/WholeFile.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace lists {

void preparePrinter(QPrinter& printer, const PrintSetup& setup) {
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(setup.pageSize, setup.orientation, QMarginsF()));
}

PageCanvas outputCanvas(const PrintSetup& setup) {
    if (QPrinterInfo::availablePrinters().isEmpty())
        return PageCanvas::forPaper(setup.pageSize, setup.orientation, 96);
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    preparePrinter(printer, setup);
    PageCanvas canvas;
    canvas.resolution = printer.resolution();
    canvas.paper = printer.paperRect(QPrinter::DevicePixel).size();
    // What the printer cannot reach is taken off the sheet; the margins still
    // count from the paper edge.
    const QMarginsF unprintable = printer.pageLayout().minimumMargins();
    const qreal perPoint = canvas.resolution / 72.0;
    canvas.printable =
        QRectF(QPointF(0, 0), canvas.paper)
            .adjusted(unprintable.left() * perPoint, unprintable.top() * perPoint,
                      -unprintable.right() * perPoint, -unprintable.bottom() * perPoint);
    return canvas;
}

namespace {

// Draws pages `first` to `last` (from 0) one device page each, through the
// render function the preview uses. False when a page could not be started
// or `pagePrinted` stopped the run (then `stopped` is set).
bool paintPages(const PrintDocument& document, QPainter& painter, QPagedPaintDevice& device,
                qreal deviceResolution, int first, int last,
                const std::function<bool(int pagesDone)>& pagePrinted, bool& stopped) {
    const qreal toDevice = deviceResolution / document.canvas().resolution;
    for (int index = first; index <= last; ++index) {
        if (index > first && !device.newPage())
            return false;
        painter.save();
        painter.scale(toDevice, toDevice);
        document.renderPage(index, painter);
        painter.restore();
        if (pagePrinted && !pagePrinted(index - first + 1)) {
            stopped = true;
            return false;
        }
    }
    return true;
}

// Pages `first` to `last` drawn as a PDF in memory, its text layer mended;
// empty when a page could not be drawn or `pagePrinted` stopped the run.
QByteArray drawPdf(const PrintDocument& document, const QPageLayout& layout, int resolution,
                   int first, int last, const std::function<bool(int pagesDone)>& pagePrinted) {
    return pdfInMemory(layout, resolution, document.setup().headerCentre.value(0),
                       document.fonts(), [&](QPdfWriter& writer) {
                           QPainter painter;
                           if (!painter.begin(&writer))
                               return false;
                           bool stopped = false;
                           const bool painted =
                               paintPages(document, painter, writer, writer.resolution(), first,
                                          last, pagePrinted, stopped);
                           return painter.end() && painted;
                       });
}

// A printout to a PDF file is drawn whole and put in the file's place only
// once every byte reached the disk, as the exports are: a full disk leaves
// the previous file.
bool printPdfFile(const PrintDocument& document, const QPrinter& printer, int first, int last,
                  const std::function<bool(int pagesDone)>& pagePrinted, QString& fileError) {
    const QByteArray bytes =
        drawPdf(document, printer.pageLayout(), printer.resolution(), first, last, pagePrinted);
    if (bytes.isEmpty())
        return false;
    fileError = store::writeWholeFile(printer.outputFileName(), bytes);
    return fileError.isEmpty();
}

} // namespace

bool printPages(const PrintDocument& document, QPrinter& printer, PageRange range,
                const std::function<bool(int pagesDone)>& pagePrinted, QString* fileError) {
    const int first = std::max(range.from, 1) - 1;
    const int last = std::min(range.to, document.pageCount()) - 1;
    if (first > last)
        return false;
    printer.setFullPage(true);
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        QString error;
        const bool printed = printPdfFile(document, printer, first, last, pagePrinted, error);
        if (fileError)
            *fileError = error;
        return printed;
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    bool stopped = false;
    if (!paintPages(document, painter, printer, printer.resolution(), first, last, pagePrinted,
                    stopped)) {
        if (stopped)
            printer.abort();
        return false;
    }
    return painter.end();
}

QByteArray pdfInMemory(const QPageLayout& layout, int resolution, const QString& title,
                       const QList<QFont>& fonts, const std::function<bool(QPdfWriter&)>& paint) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(resolution);
        writer.setPageLayout(layout);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Tallomer"));
        if (!paint(writer))
            return {};
    }
    QByteArray bytes = pdf.buffer();
    mendPdfTextLayer(bytes, fonts);
    return bytes;
}

PageCanvas pdfCanvas(const PrintSetup& setup) {
    return PageCanvas::forPaper(setup.pageSize, setup.orientation, kPdfResolution);
}

bool writePdf(const PrintDocument& document, QIODevice& device) {
    if (document.pageCount() == 0)
        return false;
    // The whole file is mended before any of it reaches the device.
    const QByteArray bytes = drawPdf(
        document, QPageLayout(document.setup().pageSize, document.setup().orientation, QMarginsF()),
        int(document.canvas().resolution), 0, document.pageCount() - 1, {});
    return !bytes.isEmpty() && device.write(bytes) == bytes.size();
}

} // namespace lists
