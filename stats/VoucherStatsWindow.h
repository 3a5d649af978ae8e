#pragma once

#include "StatsLayout.h"

#include "lists/ListWindow.h"

class QComboBox;
class QLineEdit;

namespace stats {

/// The statistics by voucher number and summary: the criteria stand in the
/// window itself, and a print header of the cashier's choice replaces the
/// page title once given.
class VoucherStatsWindow : public lists::ListWindow {
    Q_OBJECT
public:
    VoucherStatsWindow(QWidget* owner, store::JournalKind kind);

    /// The bank window's account list, filled when the window opens.
    void setBankAccounts(const QStringList& accounts);
    /// "统计".
    void runStatistic();

protected:
    QString printTitle() const override;

private:
    store::JournalKind m_kind;
    QLineEdit* m_from;
    QLineEdit* m_to;
    QLineEdit* m_voucher;
    QLineEdit* m_header;
    QComboBox* m_bank = nullptr;
    mutable QString m_printTitle;
};

class TForm_statistics_voucher : public VoucherStatsWindow {
    Q_OBJECT
public:
    explicit TForm_statistics_voucher(QWidget* owner) : VoucherStatsWindow(owner, store::JournalKind::Cash) {}
};

class TForm_statistics_voucher_yh : public VoucherStatsWindow {
    Q_OBJECT
public:
    explicit TForm_statistics_voucher_yh(QWidget* owner) : VoucherStatsWindow(owner, store::JournalKind::Bank) {}
};

} // namespace stats
