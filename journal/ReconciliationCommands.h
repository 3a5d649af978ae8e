#pragma once

class QWidget;

namespace journal {

/// 银行对账单: the statement lines of a bank account, with 导入.
void openBankStatement(QWidget* parent);
/// 银行对账: matching the bank journal against the statement lines.
void openBankMatching(QWidget* parent);
/// 余额调节表: the reconciliation statement of an account at a month's end.
void openReconciliation(QWidget* parent);

} // namespace journal
