#pragma once

#include "lists/PrintSetup.h"
#include "lists/TableSnapshot.h"

#include <QString>

namespace journal {

struct Reconciliation;

/// "银行存款余额调节表": the printed title and the name an export proposes.
QString reconciliationTitle();

/// The reconciliation statement as the standard two-sided table: the book's
/// side (item, date, amount) left and the bank's right, the account and day
/// in the first row, each heading with its items under it, the adjusted
/// balances last, and the footer row saying whether they agree or by how
/// much they differ. The window shows it, the print preview lays it out and
/// the exports write it; every date and amount is kept whole.
/// `reconciliation` must have no gap. Throws store::CurrencyOverflow.
lists::TableSnapshot reconciliationTable(const Reconciliation& reconciliation);

/// What the footer row and the window say: the adjusted balances agree, or
/// they differ by the amount shown.
QString agreementText(const Reconciliation& reconciliation);

/// The print setup of the statement: the list windows' one under its title.
lists::PrintSetup reconciliationPrintSetup();

} // namespace journal
