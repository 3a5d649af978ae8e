#include "BarChartOutput.h"

#include "BarChartGeometry.h"
#include "BarChartPainter.h"

#include "lists/PdfTextLayer.h"
#include "store/SystemErrorText.h"
#include "store/WholeFile.h"

#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>

namespace stats {

namespace {

/// Puts the orientation back however printing ends.
class OrientationKeeper {
public:
    explicit OrientationKeeper(QPrinter& printer)
        : m_printer(printer)
        , m_orientation(printer.pageLayout().orientation()) {}
    ~OrientationKeeper() { m_printer.setPageOrientation(m_orientation); }
    OrientationKeeper(const OrientationKeeper&) = delete;
    OrientationKeeper& operator=(const OrientationKeeper&) = delete;

private:
    QPrinter& m_printer;
    QPageLayout::Orientation m_orientation;
};

} // namespace

QString writeBitmap(const QImage& picture, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return store::deviceErrorText(file);
    QImageWriter writer(&file, "BMP");
    if (!writer.write(picture)) {
        file.cancelWriting();
        return writer.error() == QImageWriter::DeviceError ? store::deviceErrorText(file)
                                                           : QStringLiteral("图形不能写成位图");
    }
    return store::commitWholeFile(file);
}

bool printBarChart(const BarChartData& data, const QSize& shownSize, QPrinter& printer) {
    if (shownSize.isEmpty())
        return false;
    const OrientationKeeper keeper(printer);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    painter.scale(page.width() / shownSize.width(), page.height() / shownSize.height());
    paintBarChart(painter, data, BarChartGeometry(data, QSizeF(shownSize)));
    if (!painter.end())
        return false;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return lists::mendPdfFile(printer.outputFileName(),
                                  {BarChartGeometry::titleFont(), BarChartGeometry::labelFont(),
                                   BarChartGeometry::markFont()});
    return true;
}

} // namespace stats
