// The text, date, number, memo and combo controls bound to a query's current row.

#include "DataControlsTestSupport.h"

#include "store/EngineError.h"
#include "ui/DBComboBox.h"
#include "ui/DBDateEdit.h"
#include "ui/DBEdit.h"
#include "ui/DBMemo.h"
#include "ui/DBNumberEdit.h"

#include <QCalendarWidget>

#include <functional>

using data_controls_test::ControlsTest;
using store::QueryState;

namespace {

const QString kCash = QStringLiteral("select * from 现金日记帐 order by 日期+编号");

class TextControls : public ControlsTest {
protected:
    void SetUp() override {
        db.exec(QStringLiteral("insert into 现金日记帐 (日期, 凭证号, 借方, 明细) values "
                               "(cdate('2005-3-1'), 'A1', 12345000, '第一'), "
                               "(cdate('2005-3-2'), 'A2', null, '第二')"));
        open({kCash});
    }
    QString voucherOf(int id) {
        return stored(QStringLiteral("select 凭证号 from 现金日记帐 where 编号=%1").arg(id))
            .toString();
    }
    ui::DBEdit* boundEdit(const QString& fieldName) {
        auto* edit = add<ui::DBEdit>();
        edit->setDataSource(&source);
        edit->setDataField(fieldName);
        return edit;
    }
};

} // namespace

TEST_F(TextControls, TypingEditsTheRowAndPostStoresIt) {
    ui::DBEdit* edit = boundEdit(QStringLiteral("凭证号"));
    EXPECT_EQ(edit->text(), QStringLiteral("A1"));
    EXPECT_EQ(query.state(), QueryState::Browse);

    focus(edit);
    edit->selectAll();
    QTest::keyClicks(edit, "B7");
    EXPECT_EQ(query.state(), QueryState::Edit);
    EXPECT_EQ(edit->text(), QStringLiteral("B7"));
    EXPECT_EQ(voucherOf(1), QStringLiteral("A1")); // nothing written before the post

    query.post();
    EXPECT_EQ(query.state(), QueryState::Browse);
    EXPECT_EQ(voucherOf(1), QStringLiteral("B7"));
    EXPECT_EQ(edit->text(), QStringLiteral("B7"));
}

TEST_F(TextControls, FollowsCursorAndValuesSetInTheQuery) {
    ui::DBEdit* edit = boundEdit(QStringLiteral("凭证号"));
    ui::DBEdit* detail = boundEdit(QStringLiteral("明细"));
    query.next();
    EXPECT_EQ(edit->text(), QStringLiteral("A2"));
    EXPECT_EQ(detail->text(), QStringLiteral("第二"));

    // A value set in the query shows at once; a pending edit of another
    // control survives it.
    focus(detail);
    detail->setText(QStringLiteral("手写"));
    query.fieldByName(QStringLiteral("凭证号")).setString(QStringLiteral("Z"));
    EXPECT_EQ(edit->text(), QStringLiteral("Z"));
    EXPECT_EQ(detail->text(), QStringLiteral("手写"));

    // Moving the cursor posts the pending edits, the typed text included.
    query.first();
    EXPECT_EQ(edit->text(), QStringLiteral("A1"));
    EXPECT_EQ(stored(QStringLiteral("select 明细 from 现金日记帐 where 编号=2")),
              QStringLiteral("手写"));
    EXPECT_EQ(voucherOf(2), QStringLiteral("Z"));

    // Cancel shows the stored value again.
    edit->setText(QStringLiteral("不要"));
    EXPECT_EQ(query.state(), QueryState::Edit);
    query.cancel();
    EXPECT_EQ(edit->text(), QStringLiteral("A1"));
}

TEST_F(TextControls, LeavingTheFieldWritesItsText) {
    ui::DBEdit* edit = boundEdit(QStringLiteral("凭证号"));
    focus(edit);
    edit->selectAll();
    QTest::keyClicks(edit, "C3");
    EXPECT_EQ(query.fieldByName(QStringLiteral("凭证号")).asString(), QStringLiteral("A1"));
    focus(elsewhere());
    EXPECT_EQ(query.fieldByName(QStringLiteral("凭证号")).asString(), QStringLiteral("C3"));
    EXPECT_FALSE(edit->fieldLink().isModified());
}

TEST_F(TextControls, TypingIntoAnEmptyResultStartsANewRow) {
    open({QStringLiteral("select * from 现金日记帐 where 1=0")});
    ui::DBEdit* edit = boundEdit(QStringLiteral("凭证号"));
    focus(edit);
    QTest::keyClicks(edit, "N1");
    EXPECT_EQ(query.state(), QueryState::Insert);
    EXPECT_EQ(edit->text(), QStringLiteral("N1")); // the new row did not wipe the typing
    query.post();
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 现金日记帐 where 凭证号='N1'")), 1);
}

TEST_F(TextControls, ClosedQueryShowsNothingAndAMissingFieldIsTheEnginesError) {
    query.close();
    ui::DBEdit* edit = boundEdit(QStringLiteral("凭证号"));
    focus(edit);
    QTest::keyClicks(edit, "X");
    EXPECT_EQ(edit->text(), QString());
    EXPECT_EQ(query.state(), QueryState::Inactive);

    // The field name is resolved when the query opens, and when a control is
    // bound to the open query: one the query lacks is the engine's error, so
    // nothing is typed into a field that can never hold it.
    auto expectMissingField = [](const std::function<void()>& step) {
        try {
            step();
            ADD_FAILURE() << "no error for the missing field";
        } catch (const store::EngineError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("找不到字段“没有此列”"));
        }
    };
    ui::DBEdit* missing = boundEdit(QStringLiteral("没有此列"));
    expectMissingField([this] { open({kCash}); });
    EXPECT_EQ(edit->text(), QStringLiteral("A1"));
    EXPECT_EQ(missing->text(), QString());
    expectMissingField([this] { boundEdit(QStringLiteral("没有此列")); });
    EXPECT_EQ(query.state(), QueryState::Browse);
    query.close();
    EXPECT_EQ(edit->text(), QString());
}

TEST_F(TextControls, DateShowsShortDateAndReadsTypedDates) {
    auto* date = add<ui::DBDateEdit>();
    date->setDataSource(&source);
    date->setDataField(QStringLiteral("日期"));
    EXPECT_EQ(date->text(), QStringLiteral("2005-3-1"));

    focus(date);
    date->selectAll();
    QTest::keyClicks(date, "2005-03-09");
    query.post();
    EXPECT_EQ(
        stored(QStringLiteral("select 日期 = cdate('2005-3-9') from 现金日记帐 where 编号=1")), 1);
    EXPECT_EQ(date->text(), QStringLiteral("2005-3-9"));

    // Text that is no date is reported by the post, which leaves the row pending.
    date->selectAll();
    QTest::keyClicks(date, "2005-2-30");
    try {
        query.post();
        ADD_FAILURE() << "an impossible date was posted";
    } catch (const store::EngineError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("“2005-2-30”不是有效的日期"));
    }
    EXPECT_EQ(query.state(), QueryState::Edit);
    focus(elsewhere()); // leaving the field keeps the text pending, without throwing
    EXPECT_TRUE(date->fieldLink().isModified());
    query.cancel();
    EXPECT_EQ(date->text(), QStringLiteral("2005-3-9"));

    // Emptied, it stores null, and a null date shows empty.
    date->clear();
    query.post();
    EXPECT_TRUE(stored(QStringLiteral("select 日期 from 现金日记帐 where 编号=1")).isNull());
    EXPECT_EQ(date->text(), QString());
}

TEST_F(TextControls, DateChosenInTheCalendar) {
    auto* date = add<ui::DBDateEdit>();
    date->setDataSource(&source);
    date->setDataField(QStringLiteral("日期"));
    focus(date);
    QTest::keyClick(date, Qt::Key_F4);
    ASSERT_TRUE(date->isCalendarVisible());
    EXPECT_EQ(date->calendar()->selectedDate(), QDate(2005, 3, 1));
    date->calendar()->setSelectedDate(QDate(2005, 3, 20));
    emit date->calendar()->activated(QDate(2005, 3, 20));
    EXPECT_FALSE(date->isCalendarVisible());
    EXPECT_EQ(date->text(), QStringLiteral("2005-3-20"));
    EXPECT_EQ(query.state(), QueryState::Edit);
    EXPECT_EQ(date->date(), QDate(2005, 3, 20));
}

TEST_F(TextControls, AmountsShowTwoDecimalsAndStoreExactly) {
    auto* debit = add<ui::DBNumberEdit>();
    debit->setDataSource(&source);
    debit->setDataField(QStringLiteral("借方"));
    focus(elsewhere());
    EXPECT_EQ(debit->text(), QStringLiteral("1,234.50"));
    focus(debit);
    EXPECT_EQ(debit->text(), QStringLiteral("1234.50"));
    focus(elsewhere());
    EXPECT_EQ(debit->text(), QStringLiteral("1,234.50"));
    EXPECT_EQ(query.state(), QueryState::Browse); // looking is not editing

    query.next();
    EXPECT_EQ(debit->text(), QString()); // null
    focus(debit);
    QTest::keyClicks(debit, "1,234.5");
    QTest::keyClicks(debit, "x"); // refused as typed
    EXPECT_EQ(debit->value(), store::Currency::fromRaw(12345000));
    query.post();
    EXPECT_EQ(stored(QStringLiteral("select 借方 from 现金日记帐 where 编号=2")).toLongLong(),
              12345000);

    // Emptied, it stores null.
    debit->selectAll();
    QTest::keyClick(debit, Qt::Key_Delete);
    query.post();
    EXPECT_TRUE(stored(QStringLiteral("select 借方 from 现金日记帐 where 编号=2")).isNull());

    // Text set around the validator is reported by the post.
    debit->setText(QStringLiteral("1.2.3"));
    EXPECT_THROW(query.post(), store::EngineError);
    query.cancel();
}

TEST_F(TextControls, MemoAndComboWriteTheirText) {
    auto* memo = add<ui::DBMemo>();
    memo->setDataSource(&source);
    memo->setDataField(QStringLiteral("明细"));
    auto* attribute = add<ui::DBComboBox>();
    attribute->addItems({QStringLiteral("增加"), QStringLiteral("减少")});
    attribute->setDataSource(&source);
    attribute->setDataField(QStringLiteral("属性"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("第一"));
    EXPECT_EQ(attribute->text(), QString());

    memo->setPlainText(QStringLiteral("两行\n明细"));
    EXPECT_EQ(query.state(), QueryState::Edit);
    focus(attribute);
    QTest::keyClick(attribute, Qt::Key_Down); // the list's next item
    EXPECT_EQ(attribute->text(), QStringLiteral("增加"));
    query.post();
    EXPECT_EQ(stored(QStringLiteral("select 明细 from 现金日记帐 where 编号=1")),
              QStringLiteral("两行\n明细"));
    EXPECT_EQ(stored(QStringLiteral("select 属性 from 现金日记帐 where 编号=1")),
              QStringLiteral("增加"));

    // Free text is kept as typed; the list marks the item the text names.
    attribute->lineEdit()->selectAll();
    QTest::keyClicks(attribute, "abc");
    query.post();
    EXPECT_EQ(stored(QStringLiteral("select 属性 from 现金日记帐 where 编号=1")),
              QStringLiteral("abc"));
    query.next();
    query.first();
    EXPECT_EQ(attribute->currentIndex(), -1);
}
