#include "VoucherStatsWindow.h"

#include "StatisticsFill.h"

#include "ui/ChoiceLists.h"
#include "ui/DateField.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace stats {

VoucherStatsWindow::VoucherStatsWindow(QWidget* owner, store::JournalKind kind)
    : ListWindow(owner, statsTraits(Statistic::Voucher, kind), &ui::Dm1->ds_tongyong,
                 statsColumns(Statistic::Voucher)),
      m_kind(kind), m_printTitle(traits().printTitle) {
    QToolButton* run = addButton(QStringLiteral("SpeedButton5"), QStringLiteral("统计"));
    arrangeButtons({QStringLiteral("SpeedButton2"), QStringLiteral("SpeedButton5"), QStringLiteral("SpeedButton1"),
                    QStringLiteral("SpeedButton3"), QStringLiteral("SpeedButton4")});
    ui::giveKey(run, Qt::Key_F3);
    connect(run, &QToolButton::clicked, this, &VoucherStatsWindow::runStatistic);

    m_from = new ui::DateField(this);
    m_from->setObjectName(QStringLiteral("DBDateTimeEditEh1"));
    m_to = new ui::DateField(this);
    m_to->setObjectName(QStringLiteral("DBDateTimeEditEh2"));
    m_voucher = new QLineEdit(this);
    m_voucher->setObjectName(QStringLiteral("Edit1"));
    m_header = new QLineEdit(this);
    m_header->setObjectName(QStringLiteral("Edit2"));
    m_header->setMinimumWidth(260);
    auto* criteria = new QHBoxLayout;
    const std::pair<QString, QWidget*> fields[] = {{QStringLiteral("日期  从："), m_from},
                                                   {QStringLiteral("到："), m_to},
                                                   {QStringLiteral("凭证号："), m_voucher},
                                                   {QStringLiteral("打印表头："), m_header}};
    for (const auto& [caption, field] : fields) {
        criteria->addWidget(new QLabel(caption, this));
        criteria->addWidget(field);
        criteria->addSpacing(8);
    }
    criteria->addStretch();
    mainLayout()->insertLayout(1, criteria);

    if (kind == store::JournalKind::Bank) {
        m_bank = ui::makeEditableChoice(this, QStringLiteral("DBComboBoxEh2"));
        optionsRow()->insertWidget(2, new QLabel(QStringLiteral("开户银行："), this));
        optionsRow()->insertWidget(3, m_bank);
    }

    ui::enterMovesTo(m_from, m_to);
    ui::enterMovesTo(m_to, m_voucher);
    ui::onEnter(m_voucher, [this] { runStatistic(); });
    ui::onEnter(m_header, [this] { runStatistic(); });
}

void VoucherStatsWindow::setBankAccounts(const QStringList& accounts) {
    if (m_bank)
        ui::setChoices(m_bank, accounts);
}

void VoucherStatsWindow::runStatistic() {
    const DateRangeProblem problem = checkDateRange(m_from->text(), m_to->text());
    if (problem != DateRangeProblem::None) {
        ui::warn(this, dateRangeMessage(problem));
        m_from->setFocus();
        return;
    }
    const QString voucher = m_voucher->text().trimmed();
    if (voucher.isEmpty()) {
        ui::warn(this, QStringLiteral("凭证号不能为空,请重新输入!"));
        m_voucher->setFocus();
        return;
    }
    ui::TDm1& dm = *ui::Dm1;
    SummaryCriteria criteria;
    criteria.kind = m_kind;
    criteria.fromText = m_from->text();
    criteria.toText = m_to->text();
    criteria.voucher = voucher;
    criteria.bank = m_bank ? m_bank->currentText() : QString();
    fillSummaryTotals(dm.q_tongyong, dm.q_zy, dm.q_xjrjz, criteria);
}

QString VoucherStatsWindow::printTitle() const {
    // A header typed once stays for the window's life, also when the field is emptied later.
    const QString typed = m_header->text().trimmed();
    if (!typed.isEmpty())
        m_printTitle = typed;
    return m_printTitle;
}

} // namespace stats
