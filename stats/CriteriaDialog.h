#pragma once

#include "StatisticsFill.h"

#include "store/JournalKind.h"

#include <QDialog>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace stats {

/// The small "统计" dialog of a statistics list window: its criteria, the
/// check, the fill of 通用 with the busy animation, then it closes. The bank
/// kind adds the account field "开户银行：" (empty: every account).
class CriteriaDialog : public QDialog {
    Q_OBJECT
public:
    /// The accounts the bank field offers; nothing is chosen.
    void setBankAccounts(const QStringList& accounts);
    /// The bank field's text as the fill used it; empty for the cash kind.
    QString bankText() const;

    /// "统计 (&F)": the check, then the fill; closes the dialog when done.
    void run();

public slots:
    /// No close box: only "返回 (&R)" and a finished statistic close it.
    void reject() override {}

protected:
    CriteriaDialog(QWidget* owner, store::JournalKind kind, const QString& objectName);

    /// Lays out the criteria fields; the last one's Enter runs the statistic
    /// (cash) or moves to the bank field (bank).
    void setFields(const QList<std::pair<QString, QWidget*>>& rows);
    /// The check with its message and focus; false stops the statistic.
    virtual bool check() = 0;
    virtual void fill() = 0;

    store::JournalKind kind() const { return m_kind; }

private:
    store::JournalKind m_kind;
    QGridLayout* m_fields;
    QComboBox* m_bank = nullptr;
    QPushButton* m_run;
    QPushButton* m_close;
    QProgressBar* m_busy;
};

/// The criteria of the statistics by summary: a date range.
class SummaryCriteriaDialog : public CriteriaDialog {
    Q_OBJECT
public:
    SummaryCriteriaDialog(QWidget* owner, store::JournalKind kind);

protected:
    bool check() override;
    void fill() override;

private:
    QLineEdit* m_from;
    QLineEdit* m_to;
};

/// The criteria of the statistics by month: a year.
class MonthCriteriaDialog : public CriteriaDialog {
    Q_OBJECT
public:
    MonthCriteriaDialog(QWidget* owner, store::JournalKind kind);

protected:
    bool check() override;
    void fill() override;

private:
    /// The years the year field offers: 2003年 to 2008年, then every year up
    /// to the closing date's, so the year being kept is always there to pick.
    static QStringList yearChoices(int closingYear);

    QComboBox* m_year;
    StatisticsYear m_checkedYear;
};

/// The cash statistics by summary's criteria.
class TForm_xjsytj_tj : public SummaryCriteriaDialog {
    Q_OBJECT
public:
    explicit TForm_xjsytj_tj(QWidget* owner)
        : SummaryCriteriaDialog(owner, store::JournalKind::Cash) {}
};

/// The bank statistics by summary's criteria, with the account field.
class TForm_yhsytj_tj : public SummaryCriteriaDialog {
    Q_OBJECT
public:
    explicit TForm_yhsytj_tj(QWidget* owner)
        : SummaryCriteriaDialog(owner, store::JournalKind::Bank) {}
};

/// The cash statistics by month's criteria.
class TForm_xjsytj_yf_tj : public MonthCriteriaDialog {
    Q_OBJECT
public:
    explicit TForm_xjsytj_yf_tj(QWidget* owner)
        : MonthCriteriaDialog(owner, store::JournalKind::Cash) {}
};

/// The bank statistics by month's criteria, with the account field.
class TForm_yhsytj_yf_tj : public MonthCriteriaDialog {
    Q_OBJECT
public:
    explicit TForm_yhsytj_yf_tj(QWidget* owner)
        : MonthCriteriaDialog(owner, store::JournalKind::Bank) {}
};

} // namespace stats
