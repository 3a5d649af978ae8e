#include "TForm_gzsj.h"

#include "store/EngineError.h"
#include "ui/DBDateEdit.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace admin {

namespace {
constexpr int kNoteWidth = 300;
constexpr int kDateWidth = 140;
} // namespace

TForm_gzsj::TForm_gzsj(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form_gzsj"));
    setWindowTitle(QStringLiteral("结算时间设置"));
    setModal(true);

    auto* note = new QLabel(
        QStringLiteral("提示：当前记帐时间主要用在现金日记帐中，即用户是针对哪个月进行记帐！"),
        this);
    note->setObjectName(QStringLiteral("Label2"));
    note->setWordWrap(true);
    note->setFixedWidth(kNoteWidth);
    auto* caption = new QLabel(QStringLiteral("记帐时间："), this);
    caption->setObjectName(QStringLiteral("Label1"));
    m_date = new ui::DBDateEdit(this);
    m_date->setObjectName(QStringLiteral("DBDateTimeEditEh1"));
    m_date->setDataSource(&ui::Dm1->DS_gzsj);
    m_date->setDataField(QStringLiteral("关帐日期"));
    m_date->setFixedWidth(kDateWidth);
    caption->setBuddy(m_date);

    auto makeButton = [this](const char* objectName, const QString& text) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(objectName));
        button->setAutoDefault(false);
        return button;
    };
    m_save = makeButton("bitbtn_ok", QStringLiteral("保存 (&S)"));
    m_close = makeButton("bitbtn_close", QStringLiteral("返回 (&R)"));

    auto* dateRow = new QHBoxLayout;
    dateRow->addStretch();
    dateRow->addWidget(caption);
    dateRow->addWidget(m_date);
    dateRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addSpacing(16);
    buttons->addWidget(m_close);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addSpacing(8);
    layout->addLayout(dateRow);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ui::enterClicks(m_date, m_save);
    connect(m_save, &QAbstractButton::clicked, this, &TForm_gzsj::save);
    connect(m_close, &QAbstractButton::clicked, this, [this] { done(QDialog::Rejected); });
    m_date->setFocus();
}

void TForm_gzsj::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_date->setFocus();
}

void TForm_gzsj::save() {
    ui::TDm1& dm = *ui::Dm1;
    store::Query& q = dm.q_gzsj;
    // An emptied field stores an empty date; anything else must be a calendar day.
    if (m_date->hasUnreadableText()) {
        ui::warn(this, QStringLiteral("日期输入错误,请重新输入!"));
        m_date->setFocus();
        return;
    }
    try {
        q.edit();
        q.post();
    } catch (const store::EngineError& e) {
        // The typed date stays, so that it can be corrected.
        ui::showError(this, e.message());
        return;
    }
    // An emptied date is stored empty and reads as the zero date.
    dm.login.closingDate = q.fieldByName(QStringLiteral("关帐日期")).asDateTime();
    done(QDialog::Accepted);
}

} // namespace admin
