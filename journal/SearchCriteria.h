#pragma once

#include "JournalKind.h"

#include <QString>
#include <QStringList>

namespace journal {

/// The texts of the search dialog's fields, as typed or chosen.
struct SearchFields {
    QString voucher;
    QString summary;
    QString bankAccount; // bank journal only
    QString detail;
    QString handler;
    QString note;
    QString invoiceParty;
    QString dateFrom;
    QString dateTo;
    QString debitLower;
    QString debitUpper;
    QString creditLower;
    QString creditUpper;
};

/// The first range check a search fails, in the order the checks run.
enum class SearchProblem {
    None,
    NoBankAccount, // bank journal without a chosen account
    DateRange,     // one date of the two given, or a text that is no calendar day
    DateOrder,     // the to date before the from date
    DebitRange,    // one bound of two, an unreadable amount, or lower above upper
    CreditRange,
};

/// Turns the search dialog's fields into the where text of a journal search:
/// one piece per filled criterion, the first piece alone, later ones joined
/// by "and(" with no blank between pieces. A field counts as empty when its
/// trimmed text is empty; text values are trimmed and quoted, so a typed
/// quote searches for that quote, while "%" and "_" stay wildcards. Dates
/// and amounts enter the text as the fields show them.
class SearchCriteria {
public:
    /// The range checks, run before any criteria text is built.
    static SearchProblem check(JournalKind kind, const SearchFields& fields);

    /// The criteria text; empty when no criterion is filled. The summary piece
    /// matches summaries beginning with the text when it comes first, and
    /// summaries containing it when another piece came before.
    static QString text(JournalKind kind, const SearchFields& fields);

    /// The fields as the dialog holds them once typed: Latin letters of the
    /// five plain text fields (凭证号, 明细, 经办人, 发票单位, 备注) in upper case.
    static SearchFields asTyped(SearchFields fields);

    /// The dialog's message for a failed range check, and for no criterion at all.
    static QString problemText(SearchProblem problem);
    static QString noCriteriaText();

    /// The three lines of the search statement for a non-empty criteria text.
    static QStringList statement(JournalKind kind, const QString& criteria);
};

} // namespace journal
