#pragma once

// The journal import lives beside the journal, shared with the import window;
// the command and its tests know it under the tools' names.
#include "journal/JournalImport.h"

namespace tools {

using journal::AddedSummary;
using journal::importJournal;
using journal::ImportOptions;
using journal::ImportResult;
using journal::RefusedRow;

} // namespace tools
