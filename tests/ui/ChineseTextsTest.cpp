// Qt's own texts as the cashier reads them: the test run loads the translations as the
// program does at start-up.

#include "ui/CalendarDropDown.h"
#include "ui/ChineseTranslations.h"
#include "ui/Choosers.h"
#include "ui/MessageBoxes.h"

#include "support/ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <functional>

#include <gtest/gtest.h>

namespace {

// Looks at the next modal dialog, then closes it whatever the checks found, so that a
// failing test ends.
void whenModalShows(std::function<void(QDialog*)> look) {
    testing_support::onNextModal([look](QDialog* dialog) {
        look(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

QStringList buttonTexts(const QList<QAbstractButton*>& buttons) {
    QStringList texts;
    for (const QAbstractButton* button : buttons) {
        if (button->isVisible())
            texts.append(button->text());
    }
    texts.sort();
    return texts;
}

bool hasLatinWord(const QString& text) {
    // A mnemonic letter in brackets, "(&S)", is how Chinese buttons show their key.
    QString words = text;
    words.remove(QRegularExpression(QStringLiteral(R"(\(&\w\))")));
    return words.contains(QRegularExpression(QStringLiteral("[A-Za-z]")));
}

} // namespace

TEST(ChineseTexts, MessageBoxButtonsReadOkYesAndNoInChinese) {
    ASSERT_EQ(ui::MessageRecorder::active(), nullptr);
    QStringList notice;
    whenModalShows([&](QDialog* modal) {
        notice = buttonTexts(modal->findChildren<QAbstractButton*>());
    });
    ui::warn(nullptr, QStringLiteral("请选择操作人员！  "));
    EXPECT_EQ(notice, QStringList({QStringLiteral("确定")}));

    QString yes, no;
    whenModalShows([&](QDialog* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("请选择"));
        yes = box->button(QMessageBox::Yes)->text();
        no = box->button(QMessageBox::No)->text();
    });
    EXPECT_FALSE(ui::ask(nullptr, QStringLiteral("确实需要整理当前记帐时间月份的记录吗? ")));
    EXPECT_EQ(yes, QStringLiteral("是"));
    EXPECT_EQ(no, QStringLiteral("否"));
}

TEST(ChineseTexts, FileDialogSpeaksChinese) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("账本")));
    QStringList buttons;
    QStringList types;
    whenModalShows([&](QDialog* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("导出"));
        auto* box = dialog->findChild<QDialogButtonBox*>();
        ASSERT_NE(box, nullptr);
        buttons = buttonTexts(box->buttons());
        // The type column of the file list in the folder that holds one folder.
        auto* files = dialog->findChild<QFileSystemModel*>();
        ASSERT_NE(files, nullptr);
        const QModelIndex folder = files->index(dir.path());
        EXPECT_TRUE(QTest::qWaitFor([&] { return files->rowCount(folder) > 0; }, 2000));
        for (int row = 0; row < files->rowCount(folder); ++row)
            types.append(files->index(row, 2, folder).data().toString());
    });
    ui::chooseSaveFile(nullptr, {QStringLiteral("导出"), QStringLiteral("Text files (*.txt)|*.TXT"),
                                 1, dir.filePath(QStringLiteral("file1")), {}, false});
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(types, QStringList({QStringLiteral("文件夹")}));
    for (const QString& text : buttons)
        EXPECT_FALSE(hasLatinWord(text)) << text.toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("取消")));
}

TEST(ChineseTexts, TheFileDialogAsksInChineseBeforeReplacingAFile) {
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("图形.bmp"));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QString question;
    testing_support::onNextModal([&](QDialog* dialog) {
        testing_support::onNextModal([&](QDialog* box) {
            if (auto* asking = qobject_cast<QMessageBox*>(box)) {
                question = asking->text();
                asking->button(QMessageBox::Yes)->click();
            } else {
                box->reject();
            }
        });
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(existing);
        QMetaObject::invokeMethod(dialog, "accept");
        if (dialog->isVisible())
            dialog->reject();
    });
    const ui::SaveFileAnswer answer = ui::chooseSaveFile(
        nullptr, {QStringLiteral("保存到BMP文件中"), QStringLiteral("Bitmap Files|*.bmp"), 1,
                  QStringLiteral("TEE0.BMP"), QStringLiteral("BMP"), true});
    EXPECT_TRUE(answer.accepted);
    EXPECT_TRUE(question.contains(QStringLiteral("图形.bmp"))) << question.toStdString();
    EXPECT_FALSE(hasLatinWord(QString(question).remove(QStringLiteral("图形.bmp"))))
        << question.toStdString();
}

TEST(ChineseTexts, CalendarDropDownShowsChineseMonthAndDayNames) {
    QLineEdit field;
    ui::CalendarDropDown dropDown(&field);
    field.setText(QStringLiteral("2005-3-1"));
    field.show();
    dropDown.show();
    QCalendarWidget* calendar = dropDown.calendar();
    const auto* month = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(month->text(), QStringLiteral("三月"));

    const auto* view = calendar->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    ASSERT_NE(view, nullptr);
    QStringList dayNames;
    for (int column = 0; column < view->model()->columnCount(); ++column) {
        const QString name = view->model()->index(0, column).data().toString();
        if (!name.isEmpty())
            dayNames.append(name);
    }
    EXPECT_EQ(dayNames.size(), 7);
    for (const QString& name : dayNames)
        EXPECT_TRUE(name.startsWith(QStringLiteral("周"))) << name.toStdString();
    dropDown.hide();
}

TEST(ChineseTexts, TheLocaleIsChineseWhateverTheDesktopSays) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ui::installChineseTranslations();
    EXPECT_EQ(QLocale().name().toStdString(), "zh_CN");
    QLocale::setDefault(before);
}
