#include "ui/KeyRules.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// Where a key the user presses goes: an open drop-down first, else the focused field.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::activePopupWidget();
    if (target && target->focusWidget())
        target = target->focusWidget();
    if (!target)
        target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, modifiers);
}

/// A dialog with a default button, as the editing windows have, so that a key the rules
/// let through would show up as a click.
class KeyRules : public ::testing::Test {
protected:
    void SetUp() override {
        m_layout = new QVBoxLayout(&m_dialog);
        m_defaultButton = add<QPushButton>(QStringLiteral("default"));
        m_defaultButton->setDefault(true);
        QObject::connect(m_defaultButton, &QPushButton::clicked, [this] { ++m_defaultClicks; });
    }

    template <typename W, typename... Args> W* add(Args&&... args) {
        auto* widget = new W(std::forward<Args>(args)...);
        m_layout->addWidget(widget);
        return widget;
    }

    void showAndFocus(QWidget* field) {
        m_dialog.show();
        QApplication::setActiveWindow(&m_dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dialog));
        field->setFocus();
        ASSERT_TRUE(field->hasFocus());
    }

    QDialog m_dialog;
    QVBoxLayout* m_layout = nullptr;
    QPushButton* m_defaultButton = nullptr;
    int m_defaultClicks = 0;
};

} // namespace

TEST_F(KeyRules, EnterMovesAlongAChainOfLineEditsAndIsConsumed) {
    auto* first = add<QLineEdit>();
    auto* second = add<QLineEdit>(QStringLiteral("old text"));
    auto* third = add<QLineEdit>();
    ui::enterMovesTo(first, second);
    ui::enterMovesTo(second, third);
    showAndFocus(first);

    press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), second);
    EXPECT_EQ(second->selectedText(), QStringLiteral("old text")); // ready to be typed over
    press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), third);
    EXPECT_EQ(m_defaultClicks, 0);

    // A field without a rule still lets Enter reach the dialog.
    press(Qt::Key_Return);
    EXPECT_EQ(m_defaultClicks, 1);
}

TEST_F(KeyRules, EditableComboBoxMovesWithoutAddingTheTypedText) {
    auto* combo = add<QComboBox>();
    combo->addItems({QStringLiteral("增加"), QStringLiteral("减少")});
    auto* next = add<QLineEdit>();
    ui::enterMovesTo(combo, next);
    combo->setEditable(true); // made editable after the rule, as a form may do
    showAndFocus(combo);

    combo->lineEdit()->setText(QStringLiteral("其他"));
    press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), next);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentText(), QStringLiteral("其他"));
    EXPECT_EQ(m_defaultClicks, 0);
}

TEST_F(KeyRules, OpenDropDownTakesTheFirstEnter) {
    auto* combo = add<QComboBox>();
    combo->addItems({QStringLiteral("工行"), QStringLiteral("农行")});
    auto* next = add<QLineEdit>();
    ui::enterMovesTo(combo, next);
    showAndFocus(combo);

    combo->showPopup();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() != nullptr; }));
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == nullptr; }));
    EXPECT_EQ(combo->currentText(), QStringLiteral("农行"));
    EXPECT_EQ(QApplication::focusWidget(), combo);

    press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), next);
}

TEST_F(KeyRules, DateAndMultiLineFieldsMoveInsteadOfEditing) {
    auto* date = add<QDateEdit>(QDate(2005, 3, 1));
    auto* memo = add<QPlainTextEdit>();
    auto* last = add<QLineEdit>();
    ui::enterMovesTo(date, memo);
    ui::enterMovesTo(memo, last);
    showAndFocus(date);

    press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), memo);
    QTest::keyClicks(memo, "ab");
    press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), last);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("ab")); // no line break typed
    EXPECT_EQ(date->date(), QDate(2005, 3, 1));
    EXPECT_EQ(m_defaultClicks, 0);
}

TEST_F(KeyRules, EnterClicksTheButtonAndTheLatestRuleWins) {
    auto* field = add<QLineEdit>();
    auto* other = add<QLineEdit>();
    auto* save = add<QPushButton>(QStringLiteral("存盘"));
    int saves = 0;
    QObject::connect(save, &QPushButton::clicked, [&] { ++saves; });
    ui::enterMovesTo(field, other);
    ui::enterClicks(field, save); // replaces the move
    // A window shortcut on Enter does not take the key from the field.
    auto* shortcut = new QAction(&m_dialog);
    shortcut->setShortcut(Qt::Key_Return);
    m_dialog.addAction(shortcut);
    int shortcutHits = 0;
    QObject::connect(shortcut, &QAction::triggered, [&] { ++shortcutHits; });
    showAndFocus(field);

    press(Qt::Key_Return);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(shortcutHits, 0);
    EXPECT_EQ(QApplication::focusWidget(), field);

    save->setEnabled(false);
    press(Qt::Key_Return);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(m_defaultClicks, 0); // consumed even when the button cannot act
}

TEST_F(KeyRules, EnterClicksTheFocusedButtonNotTheDefaultOne) {
    auto* push = add<QPushButton>(QStringLiteral("保存"));
    push->setAutoDefault(false);
    auto* tool = add<QToolButton>();
    tool->setFocusPolicy(Qt::StrongFocus);
    auto* next = add<QLineEdit>();
    int pushes = 0;
    int tools = 0;
    QObject::connect(push, &QPushButton::clicked, [&] { ++pushes; });
    QObject::connect(tool, &QToolButton::clicked, [&] { ++tools; });
    showAndFocus(push);
    press(Qt::Key_Return);
    press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(pushes, 2);
    tool->setFocus();
    press(Qt::Key_Return);
    EXPECT_EQ(tools, 1);
    EXPECT_EQ(m_defaultClicks, 0);

    // Shift+Enter is no Enter; a button with an Enter rule of its own keeps it.
    push->setFocus();
    press(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(pushes, 2);
    ui::enterMovesTo(push, next);
    press(Qt::Key_Return);
    EXPECT_EQ(pushes, 2);
    EXPECT_EQ(QApplication::focusWidget(), next);
}

TEST_F(KeyRules, UpperCaseTurnsOnlyLatinLettersAndKeepsTheCursor) {
    auto* field = add<QLineEdit>();
    ui::upperCaseInput(field);
    showAndFocus(field);

    QTest::keyClicks(field, "ab1-z");
    EXPECT_EQ(field->text(), QStringLiteral("AB1-Z"));
    field->setCursorPosition(2);
    QTest::keyClicks(field, "q");
    EXPECT_EQ(field->text(), QStringLiteral("ABQ1-Z"));
    EXPECT_EQ(field->cursorPosition(), 3);
    field->insert(QStringLiteral("中äｂx"));
    EXPECT_EQ(field->text(), QStringLiteral("ABQ中äｂX1-Z"));

    // A validator the field had goes on judging the converted text.
    auto* code = add<QLineEdit>();
    code->setValidator(new QRegularExpressionValidator(QRegularExpression("[A-Z]*"), code));
    ui::upperCaseInput(code);
    code->setFocus();
    QTest::keyClicks(code, "ab1c");
    EXPECT_EQ(code->text(), QStringLiteral("ABC"));
}

TEST_F(KeyRules, PasswordFieldMasksUpperCasesAndLimits) {
    auto* password = add<QLineEdit>();
    ui::makePasswordField(password, 10);
    showAndFocus(password);

    QTest::keyClicks(password, "secret1234xyz");
    EXPECT_EQ(password->text(), QStringLiteral("SECRET1234"));
    EXPECT_EQ(password->displayText(), QString(10, QLatin1Char('*')));
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
}

TEST_F(KeyRules, ShiftAndCtrlEnterActAsEnterInAField) {
    auto* memo = add<QPlainTextEdit>();
    auto* next = add<QLineEdit>();
    auto* last = add<QLineEdit>();
    ui::enterMovesTo(memo, next);
    ui::enterMovesTo(next, last);
    showAndFocus(memo);

    QTest::keyClicks(memo, "ab");
    press(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), next);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("ab")); // no line break typed
    press(Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), last);
    EXPECT_EQ(m_defaultClicks, 0);
}

TEST_F(KeyRules, AnAltLetterNoEnabledButtonClaimsIsSwallowed) {
    auto* field = add<QLineEdit>(QStringLiteral("12"));
    auto* memo = add<QPlainTextEdit>();
    auto* addButton = add<QPushButton>(QStringLiteral("增加 (&A)"));
    addButton->setAutoDefault(false);
    int adds = 0;
    QObject::connect(addButton, &QPushButton::clicked, [&] { ++adds; });
    showAndFocus(field);

    press(Qt::Key_X, Qt::AltModifier);
    press(Qt::Key_X, Qt::AltModifier | Qt::ShiftModifier);
    press(Qt::Key_7, Qt::AltModifier);
    EXPECT_EQ(field->text(), QStringLiteral("12"));
    memo->setFocus();
    press(Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(memo->toPlainText(), QString());

    // A button that claims the letter takes it; disabled, it claims nothing.
    field->setFocus();
    press(Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return adds == 1; }));
    addButton->setEnabled(false);
    press(Qt::Key_A, Qt::AltModifier);
    QTest::qWait(150);
    EXPECT_EQ(adds, 1);
    EXPECT_EQ(field->text(), QStringLiteral("12"));
    // Plain letters still type.
    press(Qt::Key_A);
    EXPECT_EQ(field->text(), QStringLiteral("12a"));
}

TEST_F(KeyRules, AKeyGivenToAButtonClicksItAndIsNamedInItsHint) {
    auto* grid = add<QLineEdit>();
    auto* edit = add<QToolButton>();
    edit->setText(QStringLiteral("编辑"));
    auto* tidy = add<QToolButton>();
    tidy->setText(QStringLiteral("整理"));
    tidy->setToolTip(QStringLiteral("只能整理当前结算时间的记录"));
    ui::giveKey(edit, Qt::Key_F2);
    ui::giveKey(tidy, Qt::Key_F6);
    int edits = 0;
    QObject::connect(edit, &QToolButton::clicked, [&] { ++edits; });
    showAndFocus(grid);

    EXPECT_EQ(edit->toolTip(), QStringLiteral("编辑 (F2)"));
    EXPECT_EQ(tidy->toolTip(), QStringLiteral("只能整理当前结算时间的记录 (F6)"));
    EXPECT_EQ(edit->text(), QStringLiteral("编辑"));
    press(Qt::Key_F2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return edits == 1; }));
    edit->setEnabled(false);
    press(Qt::Key_F2);
    QTest::qWait(150);
    EXPECT_EQ(edits, 1);
}
