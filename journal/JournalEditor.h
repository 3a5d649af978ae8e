#pragma once

#include "JournalKind.h"

#include "store/Currency.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace store {
class Query;
}
namespace ui {
class DBDateEdit;
class DBEdit;
class DBMemo;
class DBNumberEdit;
} // namespace ui

namespace journal {

/// The entry editor over the current row of the journal query: the only place
/// where entries are made and changed. It holds the entry rules: a date inside
/// the bookkeeping period, a summary, an amount on exactly one side.
class JournalEditor : public QDialog {
    Q_OBJECT
public:
    JournalEditor(QWidget* owner, JournalKind kind);

    /// The bank editor's account, shown in `Label13` and stamped on every save.
    void setBankAccount(const QString& account);

    /// The balance a saved entry's amounts are applied to: set by "增加",
    /// kept for the whole run, one per journal kind.
    static store::Currency previousBalance(JournalKind kind);
    static void setPreviousBalance(JournalKind kind, store::Currency balance);

    void add();
    void save();
    void cancelChange();
    void closeEditor();
    void pickSummary();

public slots:
    /// Esc is handled as "返回"; the dialog has no other way out.
    void reject() override { closeEditor(); }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    store::Query& journal() const;
    bool summaryEmpty() const;
    /// Moves the cursor to the amount the summary's attribute calls for.
    void steerToAmount();
    void setAdding(bool adding);
    void buildFields();
    void buildButtons();

    JournalKind m_kind;
    QLabel* m_account = nullptr;
    ui::DBDateEdit* m_date;
    ui::DBEdit* m_voucher;
    ui::DBEdit* m_summary;
    ui::DBEdit* m_attribute;
    ui::DBMemo* m_detail;
    ui::DBEdit* m_handler;
    ui::DBNumberEdit* m_debit;
    ui::DBNumberEdit* m_credit;
    ui::DBNumberEdit* m_balance;
    ui::DBEdit* m_invoice;
    ui::DBMemo* m_note;
    QPushButton* m_add;
    QPushButton* m_save;
    QPushButton* m_cancel;
    QPushButton* m_close;
    QPushButton* m_pick;
    QString m_firstDay;
    QString m_lastDay;
    bool m_steering = false;
};

/// The cash journal's entry editor, "现金日记帐编辑".
class TForm_xjrjz_edit : public JournalEditor {
    Q_OBJECT
public:
    explicit TForm_xjrjz_edit(QWidget* owner) : JournalEditor(owner, JournalKind::Cash) {}
};

/// The bank journal's entry editor, "银行日记帐编辑".
class TForm_yhrjz_edit : public JournalEditor {
    Q_OBJECT
public:
    explicit TForm_yhrjz_edit(QWidget* owner) : JournalEditor(owner, JournalKind::Bank) {}
};

} // namespace journal
