#include "JournalSearch.h"

#include "store/DateTime.h"
#include "ui/InputMethods.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/BusyScope.h"
#include "ui/ChoiceLists.h"
#include "ui/DateField.h"
#include "ui/TDm1.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace journal {

namespace {

constexpr int kTextWidth = 300;
constexpr int kRangeWidth = 110;

} // namespace


JournalSearch::JournalSearch(QWidget* owner, JournalKind kind)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_kind(kind) {
    setObjectName(kind == JournalKind::Cash ? QStringLiteral("Form_xjrjz_cx")
                                            : QStringLiteral("Form_yhrjz_cx"));
    setWindowTitle(QStringLiteral("查询"));
    setModal(true);
    build();

    if (m_bankAccount)
        ui::enterMovesTo(m_bankAccount, m_voucher);
    ui::enterMovesTo(m_voucher, m_summary);
    ui::enterMovesTo(m_summary, m_detail);
    ui::enterMovesTo(m_detail, m_handler);
    ui::enterMovesTo(m_handler, m_dateFrom);
    ui::enterMovesTo(m_dateFrom, m_dateTo);
    ui::enterMovesTo(m_dateTo, m_debitLower);
    ui::enterMovesTo(m_debitLower, m_debitUpper);
    ui::enterMovesTo(m_debitUpper, m_creditLower);
    ui::enterMovesTo(m_creditLower, m_creditUpper);
    ui::enterMovesTo(m_creditUpper, m_note);
    ui::enterClicks(m_note, m_seek);

    connect(m_seek, &QAbstractButton::clicked, this, &JournalSearch::search);
    connect(m_close, &QAbstractButton::clicked, this, [this] { done(QDialog::Rejected); });
    firstField()->setFocus();
}

void JournalSearch::build() {
    int labelNumber = 0;
    auto label = [this, &labelNumber](const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QStringLiteral("Label%1").arg(++labelNumber));
        return l;
    };
    auto textField = [this](const char* name) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QLatin1String(name));
        ui::upperCaseInput(field);
        return field;
    };
    auto dateField = [this](const char* name) {
        QLineEdit* field = new ui::DateField(this);
        field->setObjectName(QLatin1String(name));
        field->setFixedWidth(kRangeWidth);
        return field;
    };
    auto amountField = [this](const char* name) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QLatin1String(name));
        field->setAlignment(Qt::AlignRight);
        field->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral(R"([-+]?[0-9,]*\.?[0-9]*)")), field));
        field->setFixedWidth(kRangeWidth);
        return field;
    };

    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString& caption, QWidget* field) {
        grid->addWidget(label(caption), row, 0, Qt::AlignRight);
        grid->addWidget(field, row, 1, 1, 3);
        ++row;
    };
    auto addRange = [&](const QString& caption, QWidget* from, const QString& between,
                        QWidget* to) {
        grid->addWidget(label(caption), row, 0, Qt::AlignRight);
        grid->addWidget(from, row, 1);
        grid->addWidget(label(between), row, 2, Qt::AlignCenter);
        grid->addWidget(to, row, 3);
        ++row;
    };

    // Created top to bottom, which is also the Tab order.
    if (m_kind == JournalKind::Bank) {
        m_bankAccount = new QComboBox(this);
        m_bankAccount->setObjectName(QStringLiteral("ComboBox1"));
        addRow(QStringLiteral("开户银行："), m_bankAccount);
    }
    m_voucher = textField("Edit1");
    addRow(QStringLiteral("凭证号："), m_voucher);
    m_summary = new QComboBox(this);
    m_summary->setObjectName(QStringLiteral("DBComboBoxEh1"));
    m_summary->setEditable(true);
    m_summary->setInsertPolicy(QComboBox::NoInsert);
    // Completing a typed beginning to a whole summary would change what is searched for.
    m_summary->setCompleter(nullptr);
    m_summary->setMaxVisibleItems(16);
    addRow(QStringLiteral("摘要："), m_summary);
    m_detail = textField("Edit2");
    addRow(QStringLiteral("明细："), m_detail);
    m_handler = textField("Edit3");
    addRow(QStringLiteral("经办人："), m_handler);
    m_dateFrom = dateField("DBDateTimeEditEh1");
    m_dateTo = dateField("DBDateTimeEditEh2");
    addRange(QStringLiteral("日期  从："), m_dateFrom, QStringLiteral("到"), m_dateTo);
    m_debitLower = amountField("DBNumberEditEh1");
    m_debitUpper = amountField("DBNumberEditEh2");
    addRange(QStringLiteral("借方金额  大于："), m_debitLower, QStringLiteral("小于"),
             m_debitUpper);
    m_creditLower = amountField("DBNumberEditEh3");
    m_creditUpper = amountField("DBNumberEditEh4");
    addRange(QStringLiteral("贷方金额  大于："), m_creditLower, QStringLiteral("小于"),
             m_creditUpper);
    m_invoiceParty = textField("Edit5");
    addRow(QStringLiteral("发票单位："), m_invoiceParty);
    m_note = textField("Edit4");
    addRow(QStringLiteral("备注："), m_note);
    grid->setColumnMinimumWidth(1, kRangeWidth);
    grid->setColumnMinimumWidth(3, kRangeWidth);
    m_voucher->setMinimumWidth(kTextWidth);

    m_busy = new QProgressBar(this);
    m_busy->setObjectName(QStringLiteral("Animate1"));
    m_busy->setRange(0, 0);
    m_busy->setTextVisible(false);
    m_busy->setFixedSize(80, 14);
    m_busy->hide();
    auto makeButton = [this](const char* name, const QString& text) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        return button;
    };
    m_seek = makeButton("bitbtn_seek", QStringLiteral("查找 (&F)"));
    m_close = makeButton("bitbtn_close", QStringLiteral("返回 (&R)"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_busy);
    buttons->addStretch();
    buttons->addWidget(m_seek);
    buttons->addSpacing(12);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void JournalSearch::setSummaries(const QStringList& summaries) {
    const QString typed = m_summary->currentText();
    m_summary->clear();
    m_summary->addItems(summaries);
    m_summary->setCurrentIndex(-1);
    m_summary->setEditText(typed);
}

void JournalSearch::setBankAccounts(const QStringList& accounts) {
    if (m_bankAccount)
        ui::setChoices(m_bankAccount, accounts);
}

void JournalSearch::setInputMethod(const QString& name) {
    for (QWidget* field : {m_detail, m_handler, m_note})
        ui::InputMethods::assign(field, name);
}

void JournalSearch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    firstField()->setFocus();
}

QWidget* JournalSearch::firstField() const {
    return m_bankAccount ? static_cast<QWidget*>(m_bankAccount) : m_voucher;
}

SearchFields JournalSearch::fields() const {
    SearchFields f;
    f.voucher = m_voucher->text();
    f.summary = m_summary->currentText();
    if (m_bankAccount)
        f.bankAccount = m_bankAccount->currentText();
    f.detail = m_detail->text();
    f.handler = m_handler->text();
    f.note = m_note->text();
    f.invoiceParty = m_invoiceParty->text();
    f.dateFrom = m_dateFrom->text();
    f.dateTo = m_dateTo->text();
    f.debitLower = m_debitLower->text();
    f.debitUpper = m_debitUpper->text();
    f.creditLower = m_creditLower->text();
    f.creditUpper = m_creditUpper->text();
    return f;
}

bool JournalSearch::passes(SearchProblem problem) {
    if (problem == SearchProblem::None)
        return true;
    QWidget* focus = nullptr;
    switch (problem) {
    case SearchProblem::DateRange:
    case SearchProblem::DateOrder:
        focus = m_dateFrom;
        break;
    case SearchProblem::DebitRange:
        focus = m_debitLower;
        break;
    case SearchProblem::CreditRange:
        focus = m_creditLower;
        break;
    default:
        break;
    }
    ui::warn(this, SearchCriteria::problemText(problem));
    if (focus)
        focus->setFocus();
    return false;
}

void JournalSearch::search() {
    const SearchFields f = fields();
    if (!passes(SearchCriteria::check(m_kind, f)))
        return;

    const ui::BusyScope busy(m_busy);
    const QString criteria = SearchCriteria::text(m_kind, f);
    if (criteria.isEmpty()) {
        ui::warn(this, SearchCriteria::noCriteriaText());
        return;
    }
    store::Query& q = ui::Dm1->q_xjrjz;
    q.openWith(SearchCriteria::statement(m_kind, criteria));
    if (q.isEmpty() &&
        ui::ask(this, QStringLiteral("没有找到合适的记录,是否重新查找!!"), QStringLiteral("提示")))
        return;
    done(QDialog::Accepted);
}

} // namespace journal
