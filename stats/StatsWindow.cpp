#include "StatsWindow.h"

#include "ChartLaunch.h"
#include "CriteriaDialog.h"

#include "ui/Fonts.h"
#include "ui/TDm1.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace stats {

StatsWindow::StatsWindow(QWidget* owner, Statistic statistic, store::JournalKind kind)
    : ListWindow(owner, statsTraits(statistic, kind), &ui::Dm1->ds_tongyong, statsColumns(statistic)),
      m_statistic(statistic), m_kind(kind) {
    QToolButton* run = addButton(QStringLiteral("SpeedButton5"), QStringLiteral("统计"));
    connect(run, &QToolButton::clicked, this, &StatsWindow::runStatistic);
    QStringList order = {QStringLiteral("SpeedButton2"), QStringLiteral("SpeedButton5"), QStringLiteral("SpeedButton1"),
                         QStringLiteral("SpeedButton3"), QStringLiteral("SpeedButton4")};
    if (statistic == Statistic::Month) {
        QToolButton* chart = addButton(QStringLiteral("SpeedButton6"), QStringLiteral("图形显示"));
        connect(chart, &QToolButton::clicked, this, &StatsWindow::showChart);
        order.prepend(QStringLiteral("SpeedButton6"));
    }
    arrangeButtons(order);
    if (kind == store::JournalKind::Bank) {
        m_bankLabel = new QLabel(this);
        m_bankLabel->setObjectName(QStringLiteral("Label1"));
        m_bankLabel->setFont(ui::songFont(14, true));
        optionsRow()->insertWidget(2, m_bankLabel);
    }
}

void StatsWindow::runStatistic() {
    const bool cash = m_kind == store::JournalKind::Cash;
    std::unique_ptr<CriteriaDialog> dialog;
    if (m_statistic == Statistic::Month && cash)
        dialog = std::make_unique<TForm_xjsytj_yf_tj>(this);
    else if (m_statistic == Statistic::Month)
        dialog = std::make_unique<TForm_yhsytj_yf_tj>(this);
    else if (cash)
        dialog = std::make_unique<TForm_xjsytj_tj>(this);
    else
        dialog = std::make_unique<TForm_yhsytj_tj>(this);
    if (m_kind == store::JournalKind::Bank)
        dialog->setBankAccounts(ui::Dm1->bankAccountNames());
    if (dialog->exec() == QDialog::Accepted && m_bankLabel) {
        const QString bank = dialog->bankText();
        m_bankLabel->setText(bank.isEmpty() ? QString() : QStringLiteral("开户银行：") + bank);
    }
}

void StatsWindow::showChart() {
    launchChart(this, m_kind == store::JournalKind::Cash ? cashChartTitle : bankChartTitle);
}

} // namespace stats
