#pragma once

#include "store/Currency.h"

#include <QString>

namespace journal {

/// The first rule of a save an entry breaks, in the order the entry editor
/// checks them once the date has passed.
enum class EntryProblem {
    None,
    NoSummary,   // the summary, trimmed, is empty
    BothAmounts, // debit and credit both not 0
    NoAmount,    // debit and credit both 0 (an empty amount counts as 0)
};

/// The rules of a save that hold for every entry, wherever it comes from:
/// a summary, and an amount on exactly one side.
EntryProblem checkEntry(const QString& summary, store::Currency debit, store::Currency credit);

/// The editor's message for a broken rule.
QString entryProblemText(EntryProblem problem);

/// The editor's messages for an empty date and for text that is no calendar day.
QString noDateText();
QString unreadableDateText();

} // namespace journal
