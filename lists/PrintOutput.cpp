#include "PrintOutput.h"

#include <QPainter>
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

bool printPages(const PrintDocument& document, QPrinter& printer, PageRange range,
                const std::function<bool(int pagesDone)>& pagePrinted) {
    const int first = std::max(range.from, 1) - 1;
    const int last = std::min(range.to, document.pageCount()) - 1;
    if (first > last)
        return false;
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const qreal toPrinter = printer.resolution() / document.canvas().resolution;
    for (int index = first; index <= last; ++index) {
        if (index > first && !printer.newPage())
            return false;
        painter.save();
        painter.scale(toPrinter, toPrinter);
        document.renderPage(index, painter);
        painter.restore();
        if (pagePrinted && !pagePrinted(index - first + 1)) {
            printer.abort();
            return false;
        }
    }
    return painter.end();
}

} // namespace lists
