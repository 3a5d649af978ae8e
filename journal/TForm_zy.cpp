#include "TForm_zy.h"

#include "CatalogueLayout.h"

#include "lists/DataGrid.h"
#include "store/Query.h"
#include "ui/DBComboBox.h"
#include "ui/DBEdit.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace journal {

TForm_zy::TForm_zy(QWidget* owner) : TForm_zy(owner, nullptr) {}

TForm_zy::TForm_zy(QWidget* owner, store::Query* journal)
    : CatalogueWindow(owner, summaryTraits(), &ui::Dm1->ds_zy, summaryColumns()), m_journal(journal) {
    m_pick = addButton(QStringLiteral("SpeedButton3"), QStringLiteral("选中 (&S)"));
    arrangeButtons({QStringLiteral("SpeedButton3"), QStringLiteral("SpeedButton2"),
                    QStringLiteral("SpeedButton1"), QStringLiteral("SpeedButton4")});
    connect(m_pick, &QToolButton::clicked, this, &TForm_zy::pick);

    auto* explainIncrease = new QLabel(QStringLiteral("属性为增加时，该摘要表示资金增加；"), editPanel());
    explainIncrease->setObjectName(QStringLiteral("Label4"));
    auto* explainDecrease = new QLabel(QStringLiteral("属性为减少时，该摘要表示资金减少；"), editPanel());
    explainDecrease->setObjectName(QStringLiteral("Label5"));
    m_attribute = new ui::DBComboBox(editPanel());
    m_attribute->setObjectName(QStringLiteral("DBComboBoxEh1"));
    m_attribute->addItems({QStringLiteral("增加"), QStringLiteral("减少")});
    m_attribute->setDataSource(&ui::Dm1->ds_zy);
    m_attribute->setDataField(QStringLiteral("属性"));
    m_name = new ui::DBEdit(editPanel());
    m_name->setObjectName(QStringLiteral("DBEditEh2"));
    m_name->setDataSource(&ui::Dm1->ds_zy);
    m_name->setDataField(QStringLiteral("摘要"));
    ui::upperCaseInput(m_name);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("属性："), editPanel()), 0, 0);
    fields->addWidget(m_attribute, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("摘要名称："), editPanel()), 1, 0);
    fields->addWidget(m_name, 1, 1);
    auto* layout = new QVBoxLayout(editPanel());
    layout->addWidget(explainIncrease);
    layout->addWidget(explainDecrease);
    layout->addSpacing(16);
    layout->addLayout(fields);
    layout->addStretch();

    m_hint = new QLabel(QStringLiteral("提示：选择所需要的摘要双击或选中！"), bottomBar());
    m_hint->setObjectName(QStringLiteral("Label6"));
    bottomBar()->layout()->addWidget(m_hint);

    const bool picking = journal != nullptr;
    m_pick->setVisible(picking);
    m_hint->setVisible(picking);

    ui::enterMovesTo(m_attribute, m_name);
    ui::enterClicks(m_name, findChild<QAbstractButton*>(QStringLiteral("bitbtn_save")));
    m_pick->installEventFilter(this);
    updateSaveKey();
}

bool TForm_zy::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pick && event->type() == QEvent::EnabledChange)
        updateSaveKey();
    return CatalogueWindow::eventFilter(watched, event);
}

void TForm_zy::updateSaveKey() {
    // "选中 (&S)" and "存盘 (&S)" share a letter: in the picker Alt+S picks, and "存盘" has it
    // only while "选中" cannot act (a summary being added).
    auto* save = findChild<QAbstractButton*>(QStringLiteral("bitbtn_save"));
    const bool pickHasIt = m_journal && m_pick->isEnabled();
    save->setShortcut(pickHasIt ? QKeySequence() : QKeySequence::mnemonic(save->text()));
}

bool TForm_zy::checkFields() {
    store::Query* q = query();
    const QString attribute = q->fieldByName(QStringLiteral("属性")).asString().trimmed();
    if (attribute.isEmpty()) {
        ui::warn(this, QStringLiteral("属性不能为空,请重新输入!"));
        m_attribute->setFocus();
        return false;
    }
    if (attribute != QStringLiteral("增加") && attribute != QStringLiteral("减少")) {
        ui::warn(this, QStringLiteral("属性输入出错,请重新选择!"));
        m_attribute->setFocus();
        return false;
    }
    if (q->fieldByName(QStringLiteral("摘要")).asString().trimmed().isEmpty()) {
        ui::warn(this, QStringLiteral("摘要名称不能为空,请重新输入!"));
        m_name->setFocus();
        return false;
    }
    return true;
}

QWidget* TForm_zy::firstField() const { return m_attribute; }

QWidget* TForm_zy::nameField() const { return m_name; }

QList<QWidget*> TForm_zy::lockedWhileAdding() const { return {m_pick}; }

void TForm_zy::rowAction() {
    // Without a journal entry to receive it, a double click picks nothing.
    if (m_journal)
        pick();
}

void TForm_zy::pick() {
    store::Query* summaries = query();
    if (!m_journal || !summaries->isOpen() || summaries->isEmpty())
        return;
    // A summary changed here is saved first, as leaving its row saves it.
    if (!summaries->checkBrowseMode())
        return;
    const QString summary = summaries->fieldByName(QStringLiteral("摘要")).asString();
    const QString attribute = summaries->fieldByName(QStringLiteral("属性")).asString();
    m_journal->edit();
    m_journal->fieldByName(QStringLiteral("摘要")).setString(summary);
    m_journal->fieldByName(QStringLiteral("属性")).setString(attribute);
    summaries->close();
    done(QDialog::Accepted);
}

} // namespace journal
