#pragma once

#include "JournalKind.h"
#include "SearchCriteria.h"

#include <QDialog>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QProgressBar;

namespace journal {

/// The search over every month of a journal: the filled criteria become one
/// select over the journal table, whose result the journal window shows in
/// place of its month.
///
/// It works on the shared query q_xjrjz and changes it only when a search runs:
/// closed by its return button before any search, the journal window keeps what it showed;
/// after an empty result answered either way, the query holds that empty
/// result. Both ways of closing end with done(); there are no title-bar
/// buttons, so Esc does nothing.
class JournalSearch : public QDialog {
    Q_OBJECT
public:
    JournalSearch(QWidget* owner, JournalKind kind);

    JournalKind kind() const { return m_kind; }

    /// The summaries the summary field offers, in the order given.
    void setSummaries(const QStringList& summaries);
    /// The bank accounts to choose from; none is chosen. Bank journal only.
    void setBankAccounts(const QStringList& accounts);
    /// The operator's input method for the detail, handler and note fields.
    void setInputMethod(const QString& name);

public slots:
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void search();
    SearchFields fields() const;
    /// Shows the message of a failed range check and moves the focus; false then.
    bool passes(SearchProblem problem);
    QWidget* firstField() const;

    JournalKind m_kind;
    QComboBox* m_bankAccount = nullptr;
    QLineEdit* m_voucher;
    QComboBox* m_summary;
    QLineEdit* m_detail;
    QLineEdit* m_handler;
    QLineEdit* m_dateFrom;
    QLineEdit* m_dateTo;
    QLineEdit* m_debitLower;
    QLineEdit* m_debitUpper;
    QLineEdit* m_creditLower;
    QLineEdit* m_creditUpper;
    QLineEdit* m_invoiceParty;
    QLineEdit* m_note;
    QAbstractButton* m_seek;
    QAbstractButton* m_close;
    QProgressBar* m_busy;
};

/// The cash journal's search.
class TForm_xjrjz_cx : public JournalSearch {
    Q_OBJECT
public:
    explicit TForm_xjrjz_cx(QWidget* owner)
        : JournalSearch(owner, JournalKind::Cash) {}
};

/// The bank journal's search, which always names one bank account.
class TForm_yhrjz_cx : public JournalSearch {
    Q_OBJECT
public:
    explicit TForm_yhrjz_cx(QWidget* owner)
        : JournalSearch(owner, JournalKind::Bank) {}
};

} // namespace journal
