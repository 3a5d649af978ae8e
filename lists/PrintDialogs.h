#pragma once

#include <QList>
#include <QPageLayout>
#include <QString>

#include <optional>

class QPrinter;
class QWidget;

namespace lists {

/// The pages the user chose to print, both counted from 1.
struct PageRange {
    int from = 1;
    int to = 1;
};

/// The system print dialog over `printer`, offering pages 1 to `pageCount`.
/// On OK the printer is set up as chosen; nothing when cancelled.
std::optional<PageRange> choosePrintRange(QWidget* parent, QPrinter& printer, int pageCount);

/// The system page setup dialog over `printer`; true when the user confirmed.
bool choosePageSetup(QWidget* parent, QPrinter& printer);

/// Test hook: while one exists, the two dialogs above do not show. Each call
/// is recorded and answered from the queue of its kind; an empty queue
/// answers Cancel. Not nestable.
class PrintDialogScript {
public:
    /// What the print dialog answers: the pages, written as PDF to `pdfPath`.
    struct PrintAnswer {
        PageRange pages;
        QString pdfPath;
    };

    PrintDialogScript();
    ~PrintDialogScript();
    PrintDialogScript(const PrintDialogScript&) = delete;
    PrintDialogScript& operator=(const PrintDialogScript&) = delete;

    /// An empty answer cancels.
    void answerPrint(std::optional<PrintAnswer> answer) { m_printAnswers.append(answer); }
    /// A layout confirms the page setup with that page size and orientation.
    void answerPageSetup(std::optional<QPageLayout> layout) { m_pageAnswers.append(layout); }

    /// The page count each print dialog offered.
    const QList<int>& printRequests() const { return m_printRequests; }
    int pageSetupRequests() const { return m_pageSetupRequests; }

    /// Used by the dialog functions.
    static PrintDialogScript* active();
    std::optional<PageRange> print(QPrinter& printer, int pageCount);
    bool pageSetup(QPrinter& printer);

private:
    QList<std::optional<PrintAnswer>> m_printAnswers;
    QList<std::optional<QPageLayout>> m_pageAnswers;
    QList<int> m_printRequests;
    int m_pageSetupRequests = 0;
};

} // namespace lists
