#pragma once

// Shared set-up of the data-aware control suites: a fresh database, one query
// over it with its data source, and a shown window to put controls in.

#include "support/TestDatabase.h"

#include "store/Query.h"
#include "ui/DataSource.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace data_controls_test {

class ControlsTest : public ::testing::Test {
protected:
    ControlsTest()
        : query(&db.connection())
        , source(&query) {
        new QVBoxLayout(&window);
        window.resize(320, 400);
    }

    void open(const QStringList& lines) {
        query.close();
        query.setSql(lines);
        query.open();
    }

    /// Adds a control to the window and shows the window, active, so that
    /// focus changes and key clicks reach the controls as a user's would.
    template <typename Control> Control* add() {
        auto* control = new Control(&window);
        window.layout()->addWidget(control);
        if (!window.isVisible()) {
            window.show();
            QApplication::setActiveWindow(&window);
            EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        }
        return control;
    }

    /// Gives the focus to a widget as a click would, and waits for it.
    static void focus(QWidget* w) {
        w->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
    }

    /// A plain field elsewhere in the window, to take the focus away.
    QWidget* elsewhere() {
        if (!m_elsewhere)
            m_elsewhere = add<QLineEdit>();
        return m_elsewhere;
    }

    QVariant stored(const QString& sql) { return db.scalar(sql); }

    testing_support::TestDatabase db;
    store::Query query;
    ui::DataSource source;
    QWidget window;

private:
    QWidget* m_elsewhere = nullptr;
};

} // namespace data_controls_test
