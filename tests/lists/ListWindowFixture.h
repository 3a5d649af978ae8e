#pragma once

#include "support/DataModuleFixture.h"

#include "lists/DataGrid.h"
#include "lists/GridColumn.h"
#include "lists/ListWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QTest>

/// The bank journal's eleven columns over a window built from a traits alone.
inline QList<lists::GridColumn> bankColumns() {
    return {
        {QStringLiteral("开户银行"), {}, 120},
        {QStringLiteral("日期"), {}, 70, lists::FooterKind::StaticText, QStringLiteral("记录数"), true},
        {QStringLiteral("凭证号"), {}, 60, lists::FooterKind::None, {}, true},
        {QStringLiteral("摘要"), {}, 110, lists::FooterKind::Count, {}, true},
        {QStringLiteral("明细"), {}, 180, lists::FooterKind::None, {}, true},
        {QStringLiteral("借方"), QStringLiteral("借方(增加)"), 68, lists::FooterKind::Sum, {}, true},
        {QStringLiteral("贷方"), QStringLiteral("贷方(减少)"), 68, lists::FooterKind::Sum, {}, true},
        {QStringLiteral("余额"), {}, 68},
        {QStringLiteral("经办人"), {}, 65, lists::FooterKind::None, {}, true},
        {QStringLiteral("发票单位"), {}, 160},
        {QStringLiteral("备注"), {}, 200},
    };
}

inline lists::ListWindowTraits bankTraits() {
    lists::ListWindowTraits traits;
    traits.objectName = QStringLiteral("Form_test");
    traits.title = QStringLiteral("银行日记账");
    traits.hideLimit = 9;
    traits.sorting = lists::ListWindowTraits::Sorting::Requery;
    traits.deleteNeeds = lists::ListWindowTraits::DeleteNeeds::OpenQueryAndRecords;
    traits.startFitted = false;
    return traits;
}

class ListWindowTest : public DataModuleFixture {
protected:
    std::unique_ptr<lists::ListWindow> window;

    void SetUp() override {
        DataModuleFixture::SetUp();
        db.exec(QStringLiteral(
            "insert into 银行日记帐 (开户银行, 日期, 凭证号, 摘要, 借方, 贷方) values "
            "('工行', cdate('2005-3-1'), '2', '收款', ccur('100.25'), null),"
            "('工行', cdate('2005-3-2'), '1', '付款', null, ccur('0.0001')),"
            "('工行', cdate('2005-3-3'), '3', '收款', ccur('1000'), null)"));
        dm->q_xjrjz.openWith({QStringLiteral("select * from 银行日记帐"),
                              QStringLiteral("where (开户银行='工行')"), QStringLiteral("order by 日期+编号")});
        window = std::make_unique<lists::ListWindow>(nullptr, bankTraits(), &dm->ds_xjrjz, bankColumns());
        window->resize(1000, 500);
        window->show();
    }
    void TearDown() override {
        window.reset();
        DataModuleFixture::TearDown();
    }
    /// Waits until the window manager has given the maximised window its final size, so
    /// that no later resize lays the columns out anew in the middle of a test.
    void settle() {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        const int screenWidth = window->screen()->availableGeometry().width();
        ASSERT_TRUE(QTest::qWaitFor(
            [this, screenWidth] { return window->frameGeometry().width() <= screenWidth; }, 1000));
        QApplication::processEvents();
    }
    lists::DataGrid* grid() { return window->grid(); }
    void clickTitle(const QString& field, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QHeaderView* header = grid()->view()->horizontalHeader();
        const int column = grid()->indexOfField(field);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers,
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
    QString lastSqlLine() { return dm->q_xjrjz.sql().last(); }
    /// Drags the right edge of a column's title by `dx` pixels, as a user widens or narrows it.
    void dragEdge(const QString& field, int dx) {
        QHeaderView* header = grid()->view()->horizontalHeader();
        const int column = grid()->indexOfField(field);
        const QPoint edge(header->sectionViewportPosition(column) + header->sectionSize(column) - 1,
                          header->height() / 2);
        QTest::mousePress(header->viewport(), Qt::LeftButton, Qt::NoModifier, edge);
        // Several steps, as a hand moves the mouse.
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(header->viewport(), edge + QPoint(dx * step / 4, 0));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                            edge + QPoint(dx, 0));
    }
    /// The width of every column, hidden ones as 0.
    QList<int> widths() {
        QList<int> all;
        for (int c = 0; c < grid()->columnCount(); ++c)
            all << (grid()->isColumnVisible(c) ? grid()->columnWidth(c) : 0);
        return all;
    }
    int totalWidth() {
        int total = 0;
        for (int w : widths())
            total += w;
        return total;
    }
    /// Turns 满屏显示 on as a user does: the journals start with it checked and fitting off.
    void fitOn() {
        auto* fit = testing_support::child<QCheckBox>(window.get(), "CheckBox1");
        QTest::mouseClick(fit, Qt::LeftButton);
        QTest::mouseClick(fit, Qt::LeftButton);
        ASSERT_TRUE(grid()->fitToWidth());
    }
};

