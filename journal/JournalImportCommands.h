#pragma once

#include "store/JournalKind.h"

class QWidget;

namespace journal {

/// 导入日记帐: a file of journal rows checked and brought into the journal of `kind`.
void openJournalImport(QWidget* parent, store::JournalKind kind);

} // namespace journal
