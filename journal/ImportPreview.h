#pragma once

#include "JournalImport.h"

#include "lists/ImportFileReader.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace journal {

/// One row of a checked file as the import window lists it.
struct PreviewLine {
    int line = 0;
    QStringList cells;
    /// The reason it is refused, or "可以导入".
    QString result;
    bool refused = false;
};

/// The rows of a checked file, the refused ones first (so that they are in
/// sight at once), then those that pass, each group in the file's order.
/// Rows the check passes over (empty ones, an export's footer) are left out.
QList<PreviewLine> importPreview(const QList<lists::ImportRow>& rows, const ImportResult& checked);

/// The line under the list: how many rows there are and how many cannot go in.
QString previewSummary(const ImportResult& checked);

} // namespace journal
