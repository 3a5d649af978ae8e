#include "support/DataModuleFixture.h"

#include "admin/TForm_qxb.h"
#include "admin/TForm_qxb_edit.h"
#include "lists/DataGrid.h"
#include "store/EngineError.h"
#include "support/CommandKeys.h"
#include "ui/DBComboBox.h"
#include "ui/DBEdit.h"
#include "ui/DBMemo.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using testing_support::child;
using testing_support::onNextModal;

namespace {

class Operators : public DataModuleFixture {
protected:
    std::unique_ptr<admin::TForm_qxb> list;

    void SetUp() override {
        DataModuleFixture::SetUp();
        dm->q_qxb.openWith({QStringLiteral("select * from 权限表 order by 姓名")});
        list = std::make_unique<admin::TForm_qxb>(nullptr);
        list->show();
    }
    void TearDown() override {
        list.reset();
        DataModuleFixture::TearDown();
    }
    /// Opens the editor with "编辑" and runs `steps` on it; the steps end it.
    void inEditor(const std::function<void(QDialog*)>& steps) {
        onNextModal(steps);
        child<QToolButton>(list.get(), "bitbtn_edit")->click();
    }
    static QPushButton* button(QDialog* editor, const char* name) { return child<QPushButton>(editor, name); }
    static ui::DBEdit* nameField(QDialog* editor) { return child<ui::DBEdit>(editor, "DBEdit1"); }
};

} // namespace

TEST_F(Operators, ListShowsColumnsFootersAndButtonsInOrder) {
    EXPECT_EQ(list->windowTitle(), QStringLiteral("操作员设置"));
    lists::DataGrid* grid = list->grid();
    QStringList titles;
    for (const auto& c : grid->columns())
        titles << c.titleText();
    EXPECT_EQ(titles, QStringList({"姓名", "身份证号", "联系电话", "输入法", "备注"}));
    EXPECT_EQ(grid->footerText(0), QStringLiteral("记录数"));
    EXPECT_EQ(grid->footerText(1), QStringLiteral("1"));
    EXPECT_FALSE(child<QToolButton>(list.get(), "ToolButton1")->isEnabled());
    EXPECT_FALSE(child<QToolButton>(list.get(), "ToolButton2")->isEnabled());
    EXPECT_TRUE(grid->fitToWidth());
}

TEST_F(Operators, AddingWithOnlyANameStampsItAndTheListShowsIt) {
    inEditor([](QDialog* editor) {
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("操作员编辑"));
        EXPECT_EQ(QApplication::focusWidget(), nameField(editor));
        button(editor, "bitbtn_add")->click();
        EXPECT_FALSE(button(editor, "bitbtn_add")->isEnabled());
        EXPECT_FALSE(button(editor, "bitbtn_close")->isEnabled());
        // A second add finds the new row's name empty.
        button(editor, "bitbtn_add")->setEnabled(true);
        button(editor, "bitbtn_add")->click();
        // Saving without a name keeps the adding state.
        button(editor, "bitbtn_save")->click();
        EXPECT_FALSE(button(editor, "bitbtn_close")->isEnabled());
        nameField(editor)->setText(QStringLiteral("李四"));
        button(editor, "bitbtn_save")->click();
        EXPECT_TRUE(button(editor, "bitbtn_close")->isEnabled());
        button(editor, "bitbtn_close")->click();
    });
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("姓名不能为空,请重新输入!"),
                                             QStringLiteral("姓名不能为空,请重新输入!")}));
    EXPECT_EQ(scalar("select count(*) from 权限表").toInt(), 2);
    EXPECT_EQ(scalar("select 操作员 from 权限表 where 姓名='李四'").toString(), QStringLiteral("出纳甲"));
    EXPECT_EQ(scalar("select coalesce(操作口令, '') || coalesce(身份证号, '') from 权限表 where 姓名='李四'").toString(),
              QString());
    EXPECT_EQ(list->grid()->footerText(1), QStringLiteral("2"));
}

TEST_F(Operators, EnterWalksTheFieldsAndCloseDiscardsAnEdit) {
    inEditor([](QDialog* editor) {
        QTest::keyClick(nameField(editor), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(editor, "DBEdit2"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(editor, "DBEdit3"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12345"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QWidget* inputMethod = child<QWidget>(editor, "DBComboBox1");
        EXPECT_TRUE(QApplication::focusWidget() == inputMethod || inputMethod->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(editor, "DBMemo1"));
        button(editor, "bitbtn_close")->click();
    });
    EXPECT_EQ(scalar("select coalesce(联系电话, '') from 权限表").toString(), QString());
}

TEST_F(Operators, EmptyListCannotBeAddedToFromTheEditor) {
    db.exec(QStringLiteral("delete from 权限表"));
    dm->q_qxb.openWith({QStringLiteral("select * from 权限表 order by 姓名")});
    inEditor([](QDialog* editor) {
        button(editor, "bitbtn_add")->click();
        EXPECT_TRUE(button(editor, "bitbtn_close")->isEnabled());
        button(editor, "bitbtn_close")->click();
    });
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("姓名不能为空,请重新输入!")}));
    EXPECT_EQ(scalar("select count(*) from 权限表").toInt(), 0);
}

TEST_F(Operators, EveryCommandHasAKeyAndF2OpensTheEditor) {
    EXPECT_EQ(testing_support::commandKeyFaults(list.get()), QStringList());
    QApplication::setActiveWindow(list.get());
    QWidget* grid = list->grid()->view();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_TRUE(list->isVisible());
    QString title;
    onNextModal(
        [&](QDialog* editor) {
            title = editor->windowTitle();
            QTest::keyClick(editor, Qt::Key_Escape); // no way out but 返回
            EXPECT_TRUE(editor->isVisible());
            QTest::keyClick(testing_support::focusedWidget(), Qt::Key_R, Qt::AltModifier);
            EXPECT_TRUE(QTest::qWaitFor([editor] { return !editor->isVisible(); }));
        },
        list.get());
    QTest::keyClick(grid, Qt::Key_F2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !title.isEmpty(); }));
    EXPECT_EQ(title, QStringLiteral("操作员编辑"));
}

TEST_F(Operators, ANameOfBlanksOnlyIsRefused) {
    // The login trims the chosen name, so such an operator could never log in.
    inEditor([](QDialog* editor) {
        button(editor, "bitbtn_add")->click();
        nameField(editor)->setText(QStringLiteral("   "));
        button(editor, "bitbtn_save")->click();
        EXPECT_EQ(QApplication::focusWidget(), nameField(editor));
        EXPECT_FALSE(button(editor, "bitbtn_close")->isEnabled());
        // Nor does adding another row store it on the way.
        button(editor, "bitbtn_add")->setEnabled(true);
        button(editor, "bitbtn_add")->click();
        button(editor, "bitbtn_cancel")->click();
        button(editor, "bitbtn_close")->click();
    });
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("姓名不能全为空格,请重新输入!"),
                                             QStringLiteral("姓名不能全为空格,请重新输入!")}));
    EXPECT_EQ(messages.records()[0].title, QStringLiteral("提示"));
    EXPECT_EQ(scalar("select count(*) from 权限表").toInt(), 1);
}

TEST_F(Operators, AColumnTheTableLacksStopsTheEditorWithTheEnginesError) {
    dm->q_change.execWith({QStringLiteral("alter table 权限表 drop column 联系电话")});
    dm->q_qxb.openWith({QStringLiteral("select * from 权限表 order by 姓名")});
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        auto* editor = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (editor && editor->objectName() == QLatin1String("Form_qxb_edit")) {
            opened = true;
            editor->done(QDialog::Rejected);
        }
    });
    try {
        child<QToolButton>(list.get(), "bitbtn_edit")->click();
        ADD_FAILURE() << "the editor opened without the column";
    } catch (const store::EngineError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("找不到字段“联系电话”"));
    }
    QTest::qWait(50);
    EXPECT_FALSE(opened);
    EXPECT_EQ(dm->q_qxb.state(), store::QueryState::Browse);
}

TEST_F(Operators, AddingAfterAChangeSavesTheChangeWithItsStamps) {
    inEditor([](QDialog* editor) {
        child<ui::DBEdit>(editor, "DBEdit3")->setText(QStringLiteral("12345"));
        button(editor, "bitbtn_add")->click();
        EXPECT_FALSE(button(editor, "bitbtn_close")->isEnabled());
        button(editor, "bitbtn_cancel")->click();
        button(editor, "bitbtn_close")->click();
    });
    EXPECT_EQ(scalar("select 联系电话 || '/' || 操作员 from 权限表").toString(), QStringLiteral("12345/出纳甲"));
}
