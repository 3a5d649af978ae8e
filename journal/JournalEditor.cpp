#include "JournalEditor.h"

#include "EntryRules.h"
#include "TForm_zy.h"

#include "store/BookkeepingPeriod.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/EngineError.h"
#include "store/JournalLock.h"
#include "store/Query.h"
#include "store/Transaction.h"
#include "ui/DBDateEdit.h"
#include "ui/DBEdit.h"
#include "ui/DBMemo.h"
#include "ui/DBNumberEdit.h"
#include "ui/Fonts.h"
#include "ui/InputMethods.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace journal {

namespace {

store::Currency s_previous[2];

const char* const kReadOnlyStyle = "background-color: rgb(2, 162, 196); color: white;";

int slot(JournalKind kind) { return kind == JournalKind::Cash ? 0 : 1; }

} // namespace

store::Currency JournalEditor::previousBalance(JournalKind kind) { return s_previous[slot(kind)]; }

void JournalEditor::setPreviousBalance(JournalKind kind, store::Currency balance) {
    s_previous[slot(kind)] = balance;
}

JournalEditor::JournalEditor(QWidget* owner, JournalKind kind)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_kind(kind) {
    const bool cash = kind == JournalKind::Cash;
    setObjectName(cash ? QStringLiteral("Form_xjrjz_edit") : QStringLiteral("Form_yhrjz_edit"));
    setWindowTitle(cash ? QStringLiteral("现金日记帐编辑") : QStringLiteral("银行日记帐编辑"));
    setModal(true);
    buildFields();
    buildButtons();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
    m_date->setFocus();
}

void JournalEditor::buildFields() {
    ui::DataSource* source = &ui::Dm1->ds_xjrjz;
    auto bind = [source](auto* control, const char* objectName, const char* field) {
        control->setObjectName(QLatin1String(objectName));
        control->setDataSource(source);
        control->setDataField(QString::fromUtf8(field));
        return control;
    };
    m_date = bind(new ui::DBDateEdit(this), "DBDateTimeEditEh1", "日期");
    m_voucher = bind(new ui::DBEdit(this), "DBEditEh1", "凭证号");
    m_summary = bind(new ui::DBEdit(this), "DBEdit1", "摘要");
    m_attribute = bind(new ui::DBEdit(this), "DBEdit2", "属性");
    m_detail = bind(new ui::DBMemo(this), "DBEditEh2", "明细");
    m_handler = bind(new ui::DBEdit(this), "DBEditEh3", "经办人");
    m_debit = bind(new ui::DBNumberEdit(this), "DBNumberEditEh2", "借方");
    m_credit = bind(new ui::DBNumberEdit(this), "DBNumberEditEh3", "贷方");
    m_balance = bind(new ui::DBNumberEdit(this), "DBNumberEditEh1", "余额");
    m_invoice = bind(new ui::DBEdit(this), "DBEditEh6", "发票单位");
    m_note = bind(new ui::DBMemo(this), "DBEditEh4", "备注");
    for (ui::DBEdit* readOnly : {static_cast<ui::DBEdit*>(m_summary), m_attribute,
                                 static_cast<ui::DBEdit*>(m_balance)}) {
        readOnly->setReadOnly(true);
        readOnly->setFocusPolicy(Qt::NoFocus);
        readOnly->setStyleSheet(QLatin1String(kReadOnlyStyle));
    }
    m_balance->setToolTip(QStringLiteral("只读字段，不能编辑！"));
    m_attribute->setMaximumWidth(60);
    const int twoLines = m_detail->fontMetrics().lineSpacing() * 2 + 10;
    m_detail->setFixedHeight(twoLines);
    m_note->setFixedHeight(twoLines);

    m_pick = new QPushButton(QStringLiteral("(F5)"), this);
    m_pick->setObjectName(QStringLiteral("SpeedButton1"));
    m_pick->setToolTip(QStringLiteral("选择摘要"));
    m_pick->setFlat(true);
    m_pick->setAutoDefault(false);
    m_pick->setFocusPolicy(Qt::NoFocus);

    auto* grid = new QGridLayout;
    int row = 0;
    if (m_kind == JournalKind::Bank) {
        const QFont bold = ui::songFont(19, true);
        auto* caption = new QLabel(QStringLiteral("开户银行："), this);
        caption->setFont(bold);
        m_account = new QLabel(this);
        m_account->setObjectName(QStringLiteral("Label13"));
        m_account->setFont(bold);
        grid->addWidget(caption, row, 0);
        grid->addWidget(m_account, row++, 1, 1, 3);
    }
    auto addRow = [this, grid, &row](const QString& label, QWidget* field, const QString& unit = {}) {
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(field, row, 1, 1, unit.isEmpty() ? 3 : 2);
        if (!unit.isEmpty())
            grid->addWidget(new QLabel(unit, this), row, 3);
        ++row;
    };
    addRow(QStringLiteral("日期："), m_date);
    addRow(QStringLiteral("凭证号："), m_voucher);
    auto* summaryRow = new QHBoxLayout;
    summaryRow->setContentsMargins(0, 0, 0, 0);
    summaryRow->addWidget(m_summary, 1);
    summaryRow->addWidget(m_attribute);
    summaryRow->addWidget(m_pick);
    grid->addWidget(new QLabel(QStringLiteral("摘要及属性："), this), row, 0);
    grid->addLayout(summaryRow, row++, 1, 1, 3);
    addRow(QStringLiteral("明细："), m_detail);
    addRow(QStringLiteral("经办人："), m_handler);
    addRow(QStringLiteral("借方(增加)："), m_debit, QStringLiteral("元"));
    addRow(QStringLiteral("贷方(减少)："), m_credit, QStringLiteral("元"));
    addRow(QStringLiteral("余额："), m_balance, QStringLiteral("元"));
    addRow(QStringLiteral("发票单位："), m_invoice);
    addRow(QStringLiteral("备注："), m_note);
    grid->setColumnMinimumWidth(1, 260);

    auto* body = new QHBoxLayout;
    body->addLayout(grid, 1);
    body->setObjectName(QStringLiteral("BodyLayout"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 0);
    layout->addLayout(body, 1);
    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    auto* hint = new QLabel(QStringLiteral("提示：摘要的属性是增加就对应借方(增加)，减少对应贷方(减少)。"), status);
    status->addWidget(hint, 1);
    layout->addWidget(status);

    // Enter walks the fields; the summary's attribute steers it to an amount.
    ui::enterMovesTo(m_date, m_voucher);
    ui::onEnter(m_voucher, [this] {
        if (summaryEmpty())
            pickSummary();
    });
    ui::enterMovesTo(m_detail, m_handler);
    ui::onEnter(m_handler, [this] {
        if (summaryEmpty())
            pickSummary();
        steerToAmount();
    });
    ui::enterMovesTo(m_debit, m_invoice);
    ui::enterMovesTo(m_credit, m_invoice);
    ui::enterMovesTo(m_invoice, m_note);
    m_debit->installEventFilter(this);
    m_credit->installEventFilter(this);
}

void JournalEditor::buildButtons() {
    auto makeButton = [this](const char* objectName, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(objectName));
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    m_add = makeButton("bitbtn_add", QStringLiteral("增加 (F2)"));
    m_save = makeButton("bitbtn_save", QStringLiteral("存盘 (F3)"));
    m_cancel = makeButton("bitbtn_cancel", QStringLiteral("取消 (F4)"));
    m_close = makeButton("bitbtn_close", QStringLiteral("返回 (ESC)"));
    auto* column = new QVBoxLayout;
    for (QPushButton* b : {m_add, m_save, m_cancel, m_close})
        column->addWidget(b);
    auto* note = new QLabel(m_kind == JournalKind::Cash
                                ? QStringLiteral("当本月的现金日记帐全部完结时，更改系统管理中的记帐时间到下一个月。")
                                : QStringLiteral("当本月的银行日记帐全部完结时，更改系统管理中的记帐时间到下一个月。"),
                            this);
    note->setObjectName(QStringLiteral("Label12"));
    note->setWordWrap(true);
    note->setMaximumWidth(130);
    column->addSpacing(12);
    column->addWidget(note);
    column->addStretch();
    findChild<QHBoxLayout*>(QStringLiteral("BodyLayout"))->addLayout(column);

    ui::enterClicks(m_note, m_save);
    connect(m_add, &QPushButton::clicked, this, &JournalEditor::add);
    connect(m_save, &QPushButton::clicked, this, &JournalEditor::save);
    connect(m_cancel, &QPushButton::clicked, this, &JournalEditor::cancelChange);
    connect(m_close, &QPushButton::clicked, this, &JournalEditor::closeEditor);
    connect(m_pick, &QPushButton::clicked, this, &JournalEditor::pickSummary);
    // The keys act also while their buttons are disabled.
    const std::pair<Qt::Key, void (JournalEditor::*)()> keys[] = {
        {Qt::Key_F2, &JournalEditor::add},
        {Qt::Key_F3, &JournalEditor::save},
        {Qt::Key_F4, &JournalEditor::cancelChange},
        {Qt::Key_F5, &JournalEditor::pickSummary},
    };
    for (const auto& [key, handler] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, handler);
    }
}

void JournalEditor::setBankAccount(const QString& account) {
    if (m_account)
        m_account->setText(account);
}

store::Query& JournalEditor::journal() const { return ui::Dm1->q_xjrjz; }

bool JournalEditor::summaryEmpty() const {
    return journal().fieldByName(QStringLiteral("摘要")).asString().isEmpty();
}

bool JournalEditor::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && ui::Dm1) {
        const QString method = ui::Dm1->login.inputMethod;
        for (QWidget* field : {static_cast<QWidget*>(m_invoice), static_cast<QWidget*>(m_detail),
                               static_cast<QWidget*>(m_handler), static_cast<QWidget*>(m_note)})
            ui::InputMethods::assign(field, method);
        const store::BookkeepingPeriod period(ui::Dm1->login.closingDate);
        m_firstDay = period.firstDayText();
        m_lastDay = period.lastDayText();
        // "15" and "3-15" are days of the month being kept.
        m_date->setShortFormsMonth(period.firstDay());
    }
    return QDialog::event(event);
}

bool JournalEditor::eventFilter(QObject* watched, QEvent* event) {
    // An amount field reached by any means: the summary comes first, then the
    // attribute decides which amount is meant. Coming back to the window is not
    // reaching the field.
    if (event->type() == QEvent::FocusIn && (watched == m_debit || watched == m_credit)) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !m_steering) {
            QTimer::singleShot(0, this, [this] {
                if (summaryEmpty())
                    pickSummary();
                steerToAmount();
            });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void JournalEditor::steerToAmount() {
    const QString attribute = journal().fieldByName(QStringLiteral("属性")).asString();
    m_steering = true;
    if (attribute == QStringLiteral("减少"))
        m_credit->setFocus(Qt::OtherFocusReason);
    else if (attribute == QStringLiteral("增加"))
        m_debit->setFocus(Qt::OtherFocusReason);
    m_steering = false;
}

void JournalEditor::setAdding(bool adding) {
    m_add->setEnabled(!adding);
    m_close->setEnabled(!adding);
}

void JournalEditor::add() {
    store::Query& q = journal();
    q.cancel();
    if (q.isEmpty()) {
        setPreviousBalance(m_kind, store::Currency());
    } else {
        q.last();
        setPreviousBalance(m_kind, q.fieldByName(QStringLiteral("余额")).asCurrency());
    }
    q.append();
    setAdding(true);
    m_date->setFocus();
}

void JournalEditor::save() {
    store::Query& q = journal();
    q.edit();
    // Only a calendar day can be written; anything else stays as typed, to be put right.
    if (m_date->hasUnreadableText()) {
        ui::warn(this, unreadableDateText());
        m_date->setFocus();
        return;
    }
    try {
        q.updateRecord();
    } catch (const store::EngineError& e) {
        // An amount that reads as none ("1,50") stays as typed, to be put right.
        ui::showError(this, e.message());
        for (ui::DBNumberEdit* amount : {m_debit, m_credit}) {
            if (!amount->text().trimmed().isEmpty() && !amount->value()) {
                amount->setFocus();
                break;
            }
        }
        return;
    }
    const store::Field date = q.fieldByName(QStringLiteral("日期"));
    if (date.isNull()) {
        ui::warn(this, noDateText());
        m_date->setFocus();
        return;
    }
    const QDate day = date.asDateTime().date();
    const auto first = store::DateTime::parse(m_firstDay);
    const auto last = store::DateTime::parse(m_lastDay);
    if (!first || !last || day < first->date() || day > last->date()) {
        ui::warn(this, QStringLiteral("不能编辑记帐时间以外的数据!"));
        const bool wasNew = q.state() == store::QueryState::Insert;
        q.cancel();
        setAdding(false);
        // A discarded new entry leaves another stored entry in the fields: the focus goes to
        // "增加", where Enter begins the next entry, so nothing typed lands in that one.
        if (wasNew)
            m_add->setFocus(Qt::OtherFocusReason);
        else
            m_date->setFocus();
        return;
    }
    const store::Currency debit = q.fieldByName(QStringLiteral("借方")).asCurrency();
    const store::Currency credit = q.fieldByName(QStringLiteral("贷方")).asCurrency();
    const EntryProblem problem =
        checkEntry(q.fieldByName(QStringLiteral("摘要")).asString(), debit, credit);
    if (problem != EntryProblem::None) {
        ui::warn(this, entryProblemText(problem));
        // The summary is chosen with the picker, so its focus stays where it is.
        if (problem != EntryProblem::NoSummary)
            m_debit->setFocus();
        return;
    }
    try {
        // Other desks' saves into this month wait until this one is stored.
        store::Database& db = q.connection()->database();
        store::Transaction unit(db);
        store::JournalLock::lockMonth(db, m_kind, day.year(), day.month(),
                                      m_kind == JournalKind::Bank ? m_account->text() : QString());
        q.edit();
        // The day alone: an entry stored with a time of day by an older build
        // would stay outside its month's query.
        q.fieldByName(QStringLiteral("日期")).setDateTime(date.asDateTime().dateOnly());
        q.fieldByName(QStringLiteral("余额")).setCurrency(previousBalance(m_kind) + debit - credit);
        if (m_kind == JournalKind::Bank)
            q.fieldByName(QStringLiteral("开户银行")).setString(m_account->text());
        q.fieldByName(QStringLiteral("操作员")).setString(ui::Dm1->login.operatorName);
        q.fieldByName(QStringLiteral("操作日期")).setDateTime(store::DateTime::now());
        q.post();
        unit.commit();
    } catch (const std::exception& e) {
        // The entry is not stored: the typed values go, and the cashier is told why.
        q.cancel();
        ui::showError(this, QString::fromUtf8(e.what()));
        setAdding(false);
        return;
    }
    // Told after the commit: the month's lock is not held while the box is open.
    ui::warn(this, QStringLiteral("保存完毕！"));
    setAdding(false);
}

void JournalEditor::cancelChange() {
    journal().cancel();
    setAdding(false);
}

void JournalEditor::closeEditor() {
    journal().cancel();
    done(QDialog::Rejected);
}

void JournalEditor::pickSummary() {
    store::Query& summaries = ui::Dm1->q_zy;
    {
        TForm_zy picker(this, &journal());
        summaries.openWith({QStringLiteral("select * from 摘要")});
        picker.exec();
    }
    summaries.close();
    m_detail->setFocus();
}

} // namespace journal
