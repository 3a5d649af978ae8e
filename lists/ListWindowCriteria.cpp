#include "ListWindow.h"

#include "ui/DateField.h"
#include "ui/KeyRules.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lists {

ListWindow::AccountAndDays ListWindow::addAccountAndDaysCriteria(const QString& accountLabel,
                                                                 const QList<QWidget*>& extras) {
    AccountAndDays criteria;
    criteria.accounts = new QComboBox(this);
    criteria.accounts->setObjectName(QStringLiteral("ComboBox1"));
    criteria.accounts->setMinimumWidth(180);
    criteria.from = new ui::DateField(this);
    criteria.from->setObjectName(QStringLiteral("DBDateTimeEditEh1"));
    criteria.to = new ui::DateField(this);
    criteria.to->setObjectName(QStringLiteral("DBDateTimeEditEh2"));
    for (QLineEdit* field : {criteria.from, criteria.to})
        field->setFixedWidth(130);
    criteria.show = new QPushButton(QStringLiteral("查询 (&F)"), this);
    criteria.show->setObjectName(QStringLiteral("bitbtn_seek"));
    criteria.show->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(accountLabel, this));
    row->addWidget(criteria.accounts);
    row->addSpacing(16);
    row->addWidget(new QLabel(QStringLiteral("日期  从："), this));
    row->addWidget(criteria.from);
    row->addWidget(new QLabel(QStringLiteral("到："), this));
    row->addWidget(criteria.to);
    for (QWidget* extra : extras)
        row->addWidget(extra);
    row->addWidget(criteria.show);
    row->addStretch();
    mainLayout()->insertLayout(1, row);

    // Tab follows the row, whenever the extras were made.
    QWidget* previous = criteria.accounts;
    for (QWidget* next :
         QList<QWidget*>{criteria.from, criteria.to} + extras + QList<QWidget*>{criteria.show}) {
        setTabOrder(previous, next);
        previous = next;
    }
    ui::enterMovesTo(criteria.accounts, criteria.from);
    ui::enterMovesTo(criteria.from, criteria.to);
    ui::enterClicks(criteria.to, criteria.show);
    return criteria;
}

} // namespace lists
