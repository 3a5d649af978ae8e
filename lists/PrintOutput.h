#pragma once

#include "PrintDialogs.h"
#include "PrintDocument.h"

#include <functional>

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
/// start or the job was stopped.
bool printPages(const PrintDocument& document, QPrinter& printer, PageRange range,
                const std::function<bool(int pagesDone)>& pagePrinted = {});

} // namespace lists
