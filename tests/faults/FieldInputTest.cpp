// Seeded random text put into the date and amount fields of a journal row,
// as a paste or an input method would put it: the post either stores the
// value the text stands for or refuses it with a clear message, never more.

#include "RandomText.h"

#include "support/TestDatabase.h"

#include "store/Currency.h"
#include "store/DateTime.h"
#include "store/EngineError.h"
#include "store/Query.h"
#include "ui/DBDateEdit.h"
#include "ui/DBNumberEdit.h"
#include "ui/DataSource.h"

#include <QApplication>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using faults::RandomText;

class JournalFields : public ::testing::Test {
protected:
    JournalFields() {
        new QVBoxLayout(&window);
        date = new ui::DBDateEdit(&window);
        amount = new ui::DBNumberEdit(&window);
        window.layout()->addWidget(date);
        window.layout()->addWidget(amount);
        date->setDataSource(&source);
        date->setDataField(QStringLiteral("日期"));
        amount->setDataSource(&source);
        amount->setDataField(QStringLiteral("借方"));
        window.show();
        query.openWith({QStringLiteral("select * from 现金日记帐")});
    }

    /// The stored row's date serial and debit, as raw values.
    QVariant stored(const char* column) {
        return db.scalar(QStringLiteral("select %1 from 现金日记帐 where 编号 = %2")
                             .arg(QString::fromUtf8(column))
                             .arg(query.currentRowId()));
    }

    testing_support::TestDatabase db;
    store::Query query{&db.connection()};
    ui::DataSource source{&query};
    QWidget window;
    ui::DBDateEdit* date;
    ui::DBNumberEdit* amount;
};

TEST_F(JournalFields, RandomTextStoresItsValueOrIsRefused) {
    RandomText random(4242);
    int stored_ = 0;
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        const bool inDate = random.chance(50);
        const QString typed = random.chance(60) ? random.numericText(20) : random.anyText(14);
        SCOPED_TRACE(QStringLiteral("round %1, %2: '%3'")
                         .arg(round)
                         .arg(inDate ? QStringLiteral("date") : QStringLiteral("amount"), typed)
                         .toStdString());
        query.append();
        QLineEdit* field = inDate ? static_cast<QLineEdit*>(date) : amount;
        field->setText(typed);
        // A one-line field keeps no line breaks: what it holds is what it writes.
        const QString text = field->text();
        std::optional<store::Currency> expectedAmount;
        bool amountOverflows = false;
        try {
            expectedAmount = store::Currency::parse(text);
        } catch (const store::CurrencyOverflow&) {
            amountOverflows = true;
        }
        const std::optional<store::DateTime> expectedDate = store::DateTime::parseDay(text);
        const bool empty = text.trimmed().isEmpty();
        try {
            query.post();
        } catch (const store::EngineError& e) {
            ++refused;
            EXPECT_FALSE(empty);
            if (inDate) {
                EXPECT_FALSE(expectedDate);
                EXPECT_EQ(e.message(), QStringLiteral("“%1”不是有效的日期").arg(text.trimmed()));
            } else {
                EXPECT_TRUE(!expectedAmount);
                EXPECT_EQ(e.message(), amountOverflows
                                           ? QStringLiteral("“%1”超出了金额的范围").arg(text)
                                           : QStringLiteral("“%1”不是有效的金额").arg(text));
            }
            query.cancel();
            EXPECT_EQ(query.state(), store::QueryState::Browse);
            continue;
        }
        ++stored_;
        if (empty) {
            EXPECT_TRUE(stored(inDate ? "日期" : "借方").isNull());
        } else if (inDate) {
            ASSERT_TRUE(expectedDate);
            EXPECT_EQ(stored("日期").toDouble(), expectedDate->serial());
        } else {
            ASSERT_TRUE(expectedAmount);
            EXPECT_EQ(stored("借方").toLongLong(), expectedAmount->raw());
        }
    }
    EXPECT_GT(stored_, 40);
    EXPECT_GT(refused, 40);
    // Nothing refused reached the table.
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from 现金日记帐")).toInt(), stored_);
}

} // namespace
