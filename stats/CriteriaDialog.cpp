#include "CriteriaDialog.h"

#include "StatisticsFill.h"

#include "ui/BusyScope.h"
#include "ui/ChoiceLists.h"
#include "ui/DateField.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace stats {

CriteriaDialog::CriteriaDialog(QWidget* owner, store::JournalKind kind, const QString& objectName)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_kind(kind) {
    setObjectName(objectName);
    setWindowTitle(QStringLiteral("统计"));
    setModal(true);
    m_fields = new QGridLayout;
    m_run = new QPushButton(QStringLiteral("统计 (&F)"), this);
    m_run->setObjectName(QStringLiteral("bitbtn_seek"));
    m_close = new QPushButton(QStringLiteral("返回 (&R)"), this);
    m_close->setObjectName(QStringLiteral("bitbtn_close"));
    for (QPushButton* b : {m_run, m_close})
        b->setAutoDefault(false);
    m_busy = new QProgressBar(this);
    m_busy->setObjectName(QStringLiteral("Animate1"));
    m_busy->setRange(0, 0);
    m_busy->setTextVisible(false);
    m_busy->setFixedSize(80, 14);
    m_busy->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_busy);
    buttons->addStretch();
    buttons->addWidget(m_run);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_run, &QPushButton::clicked, this, &CriteriaDialog::run);
    connect(m_close, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
}

void CriteriaDialog::setFields(const QList<std::pair<QString, QWidget*>>& rows) {
    int row = 0;
    for (const auto& [caption, field] : rows) {
        m_fields->addWidget(new QLabel(caption, this), row, 0, Qt::AlignRight);
        m_fields->addWidget(field, row++, 1);
    }
    QWidget* last = rows.last().second;
    if (m_kind == store::JournalKind::Bank) {
        m_bank = ui::makeEditableChoice(this, QStringLiteral("DBComboBoxEh2"));
        m_fields->addWidget(new QLabel(QStringLiteral("开户银行："), this), row, 0, Qt::AlignRight);
        m_fields->addWidget(m_bank, row, 1);
        ui::enterMovesTo(last, m_bank);
        ui::enterClicks(m_bank, m_run);
    } else {
        ui::enterClicks(last, m_run);
    }
    rows.first().second->setFocus();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
}

void CriteriaDialog::setBankAccounts(const QStringList& accounts) {
    if (m_bank)
        ui::setChoices(m_bank, accounts);
}

QString CriteriaDialog::bankText() const { return m_bank ? m_bank->currentText() : QString(); }

void CriteriaDialog::run() {
    if (!check())
        return;
    {
        const ui::BusyScope busy(m_busy);
        fill();
    }
    done(QDialog::Accepted);
}

SummaryCriteriaDialog::SummaryCriteriaDialog(QWidget* owner, store::JournalKind kind)
    : CriteriaDialog(owner, kind,
                     kind == store::JournalKind::Cash ? QStringLiteral("Form_xjsytj_tj")
                                                       : QStringLiteral("Form_yhsytj_tj")),
      m_from(new ui::DateField(this)), m_to(new ui::DateField(this)) {
    m_from->setObjectName(QStringLiteral("DBDateTimeEditEh1"));
    m_to->setObjectName(QStringLiteral("DBDateTimeEditEh2"));
    ui::enterMovesTo(m_from, m_to);
    setFields({{QStringLiteral("日期  从："), m_from}, {QStringLiteral("到："), m_to}});
}

bool SummaryCriteriaDialog::check() {
    const DateRangeProblem problem = checkDateRange(m_from->text(), m_to->text());
    if (problem == DateRangeProblem::None)
        return true;
    ui::warn(this, dateRangeMessage(problem));
    m_from->setFocus();
    return false;
}

void SummaryCriteriaDialog::fill() {
    ui::TDm1& dm = *ui::Dm1;
    SummaryCriteria criteria;
    criteria.kind = kind();
    criteria.fromText = m_from->text();
    criteria.toText = m_to->text();
    criteria.bank = bankText();
    fillSummaryTotals(dm.q_tongyong, dm.q_zy, dm.q_xjrjz, criteria);
}

QStringList MonthCriteriaDialog::yearChoices(int closingYear) {
    QStringList years;
    for (int year = 2003; year <= std::max(2008, closingYear); ++year)
        years << QStringLiteral("%1年").arg(year);
    return years;
}

MonthCriteriaDialog::MonthCriteriaDialog(QWidget* owner, store::JournalKind kind)
    : CriteriaDialog(owner, kind,
                     kind == store::JournalKind::Cash ? QStringLiteral("Form_xjsytj_yf_tj")
                                                       : QStringLiteral("Form_yhsytj_yf_tj")),
      m_year(ui::makeEditableChoice(this, QStringLiteral("DBComboBoxEh1"))) {
    ui::setChoices(m_year, yearChoices(ui::Dm1->login.closingDate.date().year()));
    setFields({{QStringLiteral("统计年度："), m_year}});
}

bool MonthCriteriaDialog::check() {
    const YearProblem problem = checkYear(m_year->currentText(), &m_checkedYear);
    if (problem == YearProblem::None)
        return true;
    ui::warn(this, yearMessage(problem));
    if (problem == YearProblem::Empty)
        m_year->setFocus();
    return false;
}

void MonthCriteriaDialog::fill() {
    ui::TDm1& dm = *ui::Dm1;
    fillMonthTotals(dm.q_tongyong, dm.q_xjrjz, kind(), m_checkedYear, bankText());
}

} // namespace stats
