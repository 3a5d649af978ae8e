#include "PrintDialogs.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>

namespace lists {

namespace {

PrintDialogScript* s_script = nullptr;

} // namespace

std::optional<PageRange> choosePrintRange(QWidget* parent, QPrinter& printer, int pageCount) {
    if (PrintDialogScript* script = PrintDialogScript::active())
        return script->print(printer, pageCount);

    const int last = std::max(1, pageCount);
    printer.setFromTo(1, last);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, last);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    PageRange range{1, last};
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        range.from = std::clamp(printer.fromPage(), 1, last);
        range.to = std::clamp(printer.toPage() > 0 ? printer.toPage() : last, range.from, last);
    }
    return range;
}

bool choosePageSetup(QWidget* parent, QPrinter& printer) {
    if (PrintDialogScript* script = PrintDialogScript::active())
        return script->pageSetup(printer);
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

PrintDialogScript::PrintDialogScript() {
    Q_ASSERT(!s_script);
    s_script = this;
}

PrintDialogScript::~PrintDialogScript() {
    s_script = nullptr;
}

PrintDialogScript* PrintDialogScript::active() {
    return s_script;
}

std::optional<PageRange> PrintDialogScript::print(QPrinter& printer, int pageCount) {
    m_printRequests.append(pageCount);
    if (m_printAnswers.isEmpty())
        return std::nullopt;
    const std::optional<PrintAnswer> answer = m_printAnswers.takeFirst();
    if (!answer)
        return std::nullopt;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(answer->pdfPath);
    return answer->pages;
}

bool PrintDialogScript::pageSetup(QPrinter& printer) {
    ++m_pageSetupRequests;
    if (m_pageAnswers.isEmpty())
        return false;
    const std::optional<QPageLayout> answer = m_pageAnswers.takeFirst();
    if (!answer)
        return false;
    printer.setPageSize(answer->pageSize());
    printer.setPageOrientation(answer->orientation());
    return true;
}

} // namespace lists
