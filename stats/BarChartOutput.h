#pragma once

#include <QString>

class QImage;
class QSize;
class QPrinter;

namespace stats {

struct BarChartData;

/// Writes `picture` to `path` as a Windows bitmap. A file already there is
/// replaced only once the new one is complete. Returns why it failed, in
/// Chinese, empty when the file was written.
QString writeBitmap(const QImage& picture, const QString& path);

/// Prints the chart on one landscape page, stretched to the page in both
/// directions, as it looks at `shownSize`. The printer's orientation is put
/// back as it was afterwards, also when printing fails. False when the
/// printer could not print. A printer that prints to a PDF file replaces the
/// file only with the whole page; `fileError` then tells why the file could
/// not be written.
bool printBarChart(const BarChartData& data, const QSize& shownSize, QPrinter& printer,
                   QString* fileError = nullptr);

} // namespace stats
