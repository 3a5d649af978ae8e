#include "TForm_khyh.h"

#include "CatalogueLayout.h"

#include "lists/DataGrid.h"
#include "store/Query.h"
#include "ui/DBEdit.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace journal {

TForm_khyh::TForm_khyh(QWidget* owner)
    : CatalogueWindow(owner, bankAccountTraits(), &ui::Dm1->ds_khyh, bankAccountColumns()) {
    const QStringList warning = {QStringLiteral("提示：开户银行设置完成以后，如果在银行帐中已经使用了，"),
                                 QStringLiteral("就不能删除；如果删除了，就会发生统计不准确的情"),
                                 QStringLiteral("况！")};
    auto* layout = new QVBoxLayout(editPanel());
    for (int i = 0; i < warning.size(); ++i) {
        auto* line = new QLabel(warning[i], editPanel());
        line->setObjectName(QStringLiteral("Label%1").arg(i + 3));
        layout->addWidget(line);
    }
    layout->addSpacing(16);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("开户银行名称："), editPanel()));
    m_name = new ui::DBEdit(editPanel());
    m_name->setObjectName(QStringLiteral("DBEditEh2"));
    m_name->setDataSource(&ui::Dm1->ds_khyh);
    m_name->setDataField(QStringLiteral("项目"));
    ui::upperCaseInput(m_name);
    row->addWidget(m_name);
    layout->addLayout(row);
    layout->addStretch();
    ui::enterClicks(m_name, findChild<QAbstractButton*>(QStringLiteral("bitbtn_save")));
}

bool TForm_khyh::checkFields() {
    if (query()->fieldByName(QStringLiteral("项目")).asString().trimmed().isEmpty()) {
        ui::warn(this, QStringLiteral("开户银行不能为空,请重新输入!"));
        m_name->setFocus();
        return false;
    }
    return true;
}

QWidget* TForm_khyh::firstField() const { return m_name; }

QWidget* TForm_khyh::nameField() const { return m_name; }

} // namespace journal
