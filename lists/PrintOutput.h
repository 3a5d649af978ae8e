#pragma once

#include "PrintDialogs.h"
#include "PrintDocument.h"

#include <QByteArray>
#include <QFont>
#include <QList>

#include <functional>

class QPdfWriter;
class QPageLayout;

class QIODevice;
class QPrinter;

namespace lists {

/// Sets the printer to the setup's paper with the origin at the paper's
/// corner, so that the document's margins count from the paper edge.
void preparePrinter(QPrinter& printer, const PrintSetup& setup);

/// The sheet to lay a document out on: the default printer's at its
/// resolution, or the screen's when no printer is installed.
PageCanvas outputCanvas(const PrintSetup& setup);

/// Sends pages `range` of the document to the printer through the same
/// render function the preview uses. `pagePrinted` hears of every page done
/// and may stop the job by answering false. False when the printer could not
/// start or the job was stopped. A printer that prints to a PDF file replaces
/// the file only with the whole printout; `fileError` then tells why the file
/// could not be written.
bool printPages(const PrintDocument& document, QPrinter& printer, PageRange range,
                const std::function<bool(int pagesDone)>& pagePrinted = {},
                QString* fileError = nullptr);

/// The dots per inch a document written as a PDF is laid out at.
inline constexpr qreal kPdfResolution = 1200;

/// The sheet of the setup's paper at the PDF resolution, all of it printable.
PageCanvas pdfCanvas(const PrintSetup& setup);

/// Writes every page of a complete document to `device` as a PDF, through
/// the render function the preview and the printer use. False when nothing
/// could be written.
bool writePdf(const PrintDocument& document, QIODevice& device);

/// A PDF that `paint` draws on a writer of this layout and resolution, made in
/// memory with its text layer mended for `fonts`; empty when painting failed.
/// Written whole afterwards, so a failure never leaves part of a file.
QByteArray pdfInMemory(const QPageLayout& layout, int resolution, const QString& title,
                       const QList<QFont>& fonts, const std::function<bool(QPdfWriter&)>& paint);

} // namespace lists
