#pragma once

#include "ImportCommand.h"

#include <QString>

#include <optional>

namespace tools {

struct ReconcileRequest {
    QString book;
    QString bank;                  // --bank
    std::optional<QString> month;  // --month; the closing month when not given
    std::optional<QString> format; // --format; else the extension of --out
    QString out;                   // --out; empty: the table as text on standard output
    QString operatorName = QStringLiteral("系统管理员"); // --operator, named on a printed page
};

/// tallomer-db reconcile: the reconciliation statement of one account at a
/// month's end, as text on standard output or written to a file in one of the
/// five export formats or as the printed PDF. Returns the exit status: 0 made,
/// 1 no statement to make it with (or a failure), 2 a request the book or the
/// formats do not allow.
int runReconcile(const ReconcileRequest& request, const ReportLine& out, const ReportLine& err);

} // namespace tools
