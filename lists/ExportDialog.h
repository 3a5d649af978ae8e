#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace lists {

struct TableSnapshot;

/// The "导出" command's steps after its window's checks: the save dialog with
/// the five file types and `proposedName`, then `table` written in the chosen
/// format, whole or not at all. Refuses the book and its files with a 提示, as
/// it does a worksheet with too many rows. Throws store::EngineError when the
/// file cannot be written.
void exportWithDialog(QWidget* parent, const QString& proposedName,
                      const std::function<TableSnapshot()>& table);

} // namespace lists
