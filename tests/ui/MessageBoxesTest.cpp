#include "ui/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

using ui::MessageIcon;
using ui::MessageRecorder;

namespace {

// Acts on the next modal window as soon as it shows, from inside its exec().
void whenModalShows(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

// Presses `key` where the user's key would go in the box; closes the box if the key did
// not, so that a failing test ends instead of waiting, and tells whether the key closed it.
void pressInBox(QWidget* box, Qt::Key key, bool* closedByKey) {
    QWidget* target = box->focusWidget() ? box->focusWidget() : box;
    QTest::keyClick(target, key);
    *closedByKey = !box->isVisible();
    if (box->isVisible())
        static_cast<QDialog*>(box)->done(QMessageBox::Cancel);
}

} // namespace

TEST(ErrorText, FullStopAddedAfterCharactersBeyondTheFullStop) {
    const QList<std::pair<QString, QString>> cases = {
        {QStringLiteral("Disk full"), QStringLiteral("Disk full.")},
        {QStringLiteral("error 42"), QStringLiteral("error 42.")},
        {QStringLiteral("数据库错误"), QStringLiteral("数据库错误.")},
        {QStringLiteral("a/b"), QStringLiteral("a/b.")},
        {QStringLiteral("Already ends."), QStringLiteral("Already ends.")},
        {QStringLiteral("Stop!"), QStringLiteral("Stop!")},
        {QStringLiteral("(x)"), QStringLiteral("(x)")},
        {QStringLiteral("dash-"), QStringLiteral("dash-")},
        {QStringLiteral("blank "), QStringLiteral("blank ")},
        {QString(), QString()},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(ui::errorText(text), shown) << text.toStdString();
}

TEST(MessageRecorder, RecordsEachFormAsItWouldShow) {
    MessageRecorder recorder;
    ui::warn(nullptr, QStringLiteral("请选择操作人员！  "));
    ui::inform(nullptr, QStringLiteral("已经成功的修改了操作口令,请牢记!"));
    ui::plain(nullptr, QStringLiteral("plain"));
    ui::showError(nullptr, QStringLiteral("no such table"));
    ASSERT_EQ(recorder.records().size(), 4);

    const auto expect = [&](int i, const QString& title, const QString& text, MessageIcon icon) {
        const ui::MessageRecord& r = recorder.records().at(i);
        EXPECT_EQ(r.title, title) << i;
        EXPECT_EQ(r.text, text) << i;
        EXPECT_EQ(r.icon, icon) << i;
        EXPECT_FALSE(r.question) << i;
    };
    expect(0, QStringLiteral("提示"), QStringLiteral("请选择操作人员！  "), MessageIcon::Warning);
    expect(1, QStringLiteral("提示"), QStringLiteral("已经成功的修改了操作口令,请牢记!"),
           MessageIcon::Information);
    expect(2, QStringLiteral("Tallomer"), QStringLiteral("plain"), MessageIcon::None);
    expect(3, QStringLiteral("Tallomer"), QStringLiteral("no such table."), MessageIcon::Critical);
    EXPECT_EQ(recorder.texts().at(3), QStringLiteral("no such table."));
}

TEST(MessageRecorder, QuestionsTakeQueuedAnswersThenNo) {
    MessageRecorder recorder;
    recorder.answerNext(true);
    recorder.answerNext(false);
    recorder.answerNext(true);
    EXPECT_TRUE(ui::ask(nullptr, QStringLiteral("要删除当前记录吗? ")));
    ui::warn(nullptr, QStringLiteral("between")); // takes no answer
    EXPECT_FALSE(ui::ask(nullptr, QStringLiteral("second"), QStringLiteral("Custom")));
    EXPECT_TRUE(ui::ask(nullptr, QStringLiteral("third")));
    EXPECT_FALSE(ui::ask(nullptr, QStringLiteral("queue empty")));

    const QList<ui::MessageRecord>& r = recorder.records();
    ASSERT_EQ(r.size(), 5);
    EXPECT_EQ(r[0].title, QStringLiteral("请选择"));
    EXPECT_EQ(r[0].icon, MessageIcon::Question);
    EXPECT_TRUE(r[0].question);
    EXPECT_TRUE(r[0].answeredYes);
    EXPECT_FALSE(r[1].answeredYes);
    EXPECT_EQ(r[2].title, QStringLiteral("Custom"));
    EXPECT_FALSE(r[2].answeredYes);
    EXPECT_FALSE(r[4].answeredYes);
    recorder.clear();
    EXPECT_TRUE(recorder.texts().isEmpty());
}

TEST(MessageBoxes, AskAnswersNoToEnterAndEscape) {
    ASSERT_EQ(MessageRecorder::active(), nullptr);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        bool closedByKey = false;
        whenModalShows([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box) {
                ADD_FAILURE() << "not a message box";
                modal->close();
                return;
            }
            EXPECT_EQ(box->windowTitle(), QStringLiteral("请选择"));
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            pressInBox(box, key, &closedByKey);
        });
        EXPECT_FALSE(ui::ask(nullptr, QStringLiteral("确实要恢复数据库吗? ")));
        EXPECT_TRUE(closedByKey) << key;
    }

    whenModalShows([](QWidget* modal) {
        static_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click();
    });
    EXPECT_TRUE(ui::ask(nullptr, QStringLiteral("yes")));
}

TEST(MessageBoxes, ErrorBoxShowsTextAsPlainText) {
    bool closedByKey = false;
    whenModalShows([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            ADD_FAILURE() << "not a message box";
            modal->close();
            return;
        }
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Tallomer"));
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->text(), QStringLiteral("<b>near \"x\"</b>: syntax error."));
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        pressInBox(box, Qt::Key_Return, &closedByKey);
    });
    ui::showError(nullptr, QStringLiteral("<b>near \"x\"</b>: syntax error"));
    EXPECT_TRUE(closedByKey);
}
