#include "BarChartOutput.h"

#include "BarChartGeometry.h"
#include "BarChartPainter.h"

#include "lists/PrintOutput.h"
#include "store/SystemErrorText.h"
#include "store/WholeFile.h"

#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
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
        // The BMP writer does not tell a failed write from a picture it cannot take.
        const bool fileFailed =
            writer.error() == QImageWriter::DeviceError || file.error() != QFileDevice::NoError;
        const QString reason = store::abandonWholeFile(file);
        return fileFailed ? reason : QStringLiteral("图形不能写成位图");
    }
    return store::commitWholeFile(file);
}

namespace {

// Draws the chart stretched over the device's page; false when the device
// could not be painted on.
bool paintOnPage(const BarChartData& data, const QSize& shownSize, QPagedPaintDevice& device,
                 int resolution) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRectF page = device.pageLayout().paintRectPixels(resolution);
    painter.scale(page.width() / shownSize.width(), page.height() / shownSize.height());
    paintBarChart(painter, data, BarChartGeometry(data, QSizeF(shownSize)));
    return painter.end();
}

// A chart printed to a PDF file is drawn whole in memory and put in the
// file's place only once every byte reached the disk: a full disk leaves the
// previous file.
bool printPdfFile(const BarChartData& data, const QSize& shownSize, const QPrinter& printer,
                  QString& fileError) {
    const QByteArray bytes = lists::pdfInMemory(
        printer.pageLayout(), printer.resolution(), QString(),
        {BarChartGeometry::titleFont(), BarChartGeometry::labelFont(), BarChartGeometry::markFont()},
        [&](QPdfWriter& writer) { return paintOnPage(data, shownSize, writer, writer.resolution()); });
    if (bytes.isEmpty())
        return false;
    fileError = store::writeWholeFile(printer.outputFileName(), bytes);
    return fileError.isEmpty();
}

} // namespace

bool printBarChart(const BarChartData& data, const QSize& shownSize, QPrinter& printer,
                   QString* fileError) {
    if (shownSize.isEmpty())
        return false;
    const OrientationKeeper keeper(printer);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        QString error;
        const bool printed = printPdfFile(data, shownSize, printer, error);
        if (fileError)
            *fileError = error;
        return printed;
    }
    return paintOnPage(data, shownSize, printer, printer.resolution());
}

} // namespace stats
