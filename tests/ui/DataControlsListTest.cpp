// The navigator and the lookup list over a query, and the cost of long fills.

#include "DataControlsTestSupport.h"

#include "store/Transaction.h"
#include "ui/DBEdit.h"
#include "ui/DBLookupComboBox.h"
#include "ui/DBNavigator.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QToolButton>

using data_controls_test::ControlsTest;
using ui::DBNavigator;

namespace {

const QString kOperators = QStringLiteral("select * from 权限表 order by 姓名");

class ListControls : public ControlsTest {
protected:
    void SetUp() override {
        // The database ships one operator, 系统管理员; two more share a name.
        db.exec(QStringLiteral("insert into 权限表 (姓名, 操作口令, 输入法) values "
                               "('Zhang', 'first', ''), ('Li', '', ''), ('Zhang', 'second', '')"));
        open({kOperators});
    }
    QString name() { return query.fieldByName(QStringLiteral("姓名")).asString(); }
    QString password() { return query.fieldByName(QStringLiteral("操作口令")).asString(); }
    ui::DBLookupComboBox* operatorList() {
        auto* list = add<ui::DBLookupComboBox>();
        list->setListSource(&source);
        list->setListField(QStringLiteral("姓名"));
        list->setKeyField(QStringLiteral("姓名"));
        list->setDropDownRows(8);
        return list;
    }
};

QList<bool> enabled(DBNavigator* nav) {
    QList<bool> states;
    for (auto b : {DBNavigator::First, DBNavigator::Prior, DBNavigator::Next, DBNavigator::Last})
        states << nav->button(b)->isEnabled();
    return states;
}

} // namespace

TEST_F(ListControls, NavigatorMovesAndEnablesAsTheCursorAllows) {
    auto* nav = add<DBNavigator>();
    EXPECT_EQ(enabled(nav), QList<bool>({false, false, false, false})); // no data source
    EXPECT_EQ(nav->button(DBNavigator::First)->toolTip(), QStringLiteral("首记录"));
    EXPECT_EQ(nav->button(DBNavigator::Prior)->toolTip(), QStringLiteral("上一条记录"));
    EXPECT_EQ(nav->button(DBNavigator::Next)->toolTip(), QStringLiteral("下一条记录"));
    EXPECT_EQ(nav->button(DBNavigator::Last)->toolTip(), QStringLiteral("尾记录"));

    nav->setDataSource(&source);
    EXPECT_EQ(enabled(nav), QList<bool>({false, false, true, true}));
    QTest::mouseClick(nav->button(DBNavigator::Next), Qt::LeftButton);
    EXPECT_EQ(query.currentIndex(), 1);
    EXPECT_EQ(enabled(nav), QList<bool>({true, true, true, true}));
    QTest::mouseClick(nav->button(DBNavigator::Last), Qt::LeftButton);
    EXPECT_EQ(query.currentIndex(), 3);
    EXPECT_EQ(enabled(nav), QList<bool>({true, true, false, false}));
    QTest::mouseClick(nav->button(DBNavigator::Prior), Qt::LeftButton);
    EXPECT_EQ(query.currentIndex(), 2);
    QTest::mouseClick(nav->button(DBNavigator::First), Qt::LeftButton);
    EXPECT_EQ(query.currentIndex(), 0);

    // A new row is the last one; an empty or closed query disables everything.
    query.append();
    EXPECT_EQ(enabled(nav), QList<bool>({true, true, false, false}));
    query.cancel();
    open({QStringLiteral("select * from 权限表 where 1=0")});
    EXPECT_EQ(enabled(nav), QList<bool>({false, false, false, false}));
    query.close();
    EXPECT_EQ(enabled(nav), QList<bool>({false, false, false, false}));
}

TEST_F(ListControls, LookupListsRowsAndChoosingMovesTheCursor) {
    ui::DBLookupComboBox* list = operatorList();
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->itemText(0), QStringLiteral("Li"));
    EXPECT_EQ(list->itemText(3), QStringLiteral("系统管理员"));
    EXPECT_EQ(list->text(), QString()); // nothing chosen at first
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_EQ(list->dropDownRows(), 8);

    QSignalSpy chosen(list, &ui::DBLookupComboBox::chosen);
    focus(list);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->text(), QStringLiteral("Li"));
    EXPECT_EQ(name(), QStringLiteral("Li"));
    ASSERT_EQ(chosen.size(), 1);

    // Either of two rows with the same key makes the first of them current.
    list->chooseIndex(2);
    EXPECT_EQ(list->text(), QStringLiteral("Zhang"));
    EXPECT_EQ(query.currentIndex(), 1);
    EXPECT_EQ(password(), QStringLiteral("first"));
    query.last();
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(password(), QStringLiteral("first"));

    // The list follows new rows, and is filled anew when the query reopens.
    query.append();
    query.fieldByName(QStringLiteral("姓名")).setString(QStringLiteral("Wang"));
    query.post();
    EXPECT_EQ(list->itemText(4), QStringLiteral("Wang"));
    EXPECT_EQ(list->text(), QStringLiteral("Zhang"));
    open({kOperators});
    EXPECT_EQ(list->count(), 5);
    EXPECT_EQ(list->itemText(1), QStringLiteral("Wang"));
    EXPECT_EQ(list->text(), QString());
    query.close();
    EXPECT_EQ(list->count(), 0);
}

TEST_F(ListControls, LookupWritesTheChosenKeyIntoItsDataField) {
    store::Query journal(&db.connection());
    journal.setSql({QStringLiteral("select * from 现金日记帐")});
    journal.open();
    ui::DataSource entries(&journal);
    ui::DBLookupComboBox* handler = operatorList();
    handler->setDataSource(&entries);
    handler->setDataField(QStringLiteral("经办人"));
    EXPECT_EQ(handler->text(), QString());

    handler->chooseIndex(3);
    EXPECT_EQ(journal.state(), store::QueryState::Insert); // an empty result starts a row
    journal.post();
    EXPECT_EQ(stored(QStringLiteral("select 经办人 from 现金日记帐")),
              QStringLiteral("系统管理员"));

    journal.edit();
    journal.fieldByName(QStringLiteral("经办人")).setString(QStringLiteral("Li"));
    EXPECT_EQ(handler->text(), QStringLiteral("Li"));
    journal.fieldByName(QStringLiteral("经办人")).setString(QStringLiteral("nobody"));
    EXPECT_EQ(handler->text(), QString());
    journal.cancel();
    EXPECT_EQ(handler->text(), QStringLiteral("系统管理员"));
    handler->setDataSource(nullptr); // before the journal query goes
}

TEST_F(ListControls, LongFillWithControlsSuspendedIsCheap) {
    open({QStringLiteral("select * from 现金日记帐 order by 日期+编号")});
    ui::DBEdit* edit = add<ui::DBEdit>();
    edit->setDataSource(&source);
    edit->setDataField(QStringLiteral("凭证号"));
    auto* nav = add<DBNavigator>();
    nav->setDataSource(&source);
    ui::DBLookupComboBox* list = add<ui::DBLookupComboBox>();
    list->setListSource(&source);
    list->setListField(QStringLiteral("凭证号"));

    const auto fill = [this](int rows) {
        store::Transaction unit(db.db());
        for (int i = 0; i < rows; ++i) {
            query.append();
            query.fieldByName(QStringLiteral("凭证号")).setString(QString::number(i));
            query.post();
        }
        unit.commit();
    };
    QElapsedTimer timer;
    timer.start();
    query.disableControls();
    fill(5000);
    query.enableControls();
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(list->count(), 5000);
    EXPECT_EQ(edit->text(), QStringLiteral("4999"));
    EXPECT_EQ(enabled(nav), QList<bool>({true, true, false, false}));

    // Followed row by row, the controls keep up in linear time as well.
    timer.restart();
    fill(2000);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(list->count(), 7000);
    EXPECT_EQ(list->itemText(6999), QStringLiteral("1999"));
}
