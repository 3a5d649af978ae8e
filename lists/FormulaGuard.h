#pragma once

#include <QString>

namespace lists {

struct SnapshotColumn;

/// Whether a record's cell must be written with a leading "'" so that a
/// spreadsheet opening the .csv, .txt or .htm file reads it as text and never
/// as a formula or a link: a text cell (not a date, amount or count)
/// beginning with "=", "+", "-", "@", a tab or a carriage return, or with
/// "'" before such a text (so the import can tell the guard from a typed "'").
bool needsFormulaGuard(const SnapshotColumn& column, const QString& text);

/// A cell as read back from a text export: the guard's "'" taken off.
QString withoutFormulaGuard(const QString& text);

} // namespace lists
