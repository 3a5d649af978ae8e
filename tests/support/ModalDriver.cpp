#include "ModalDriver.h"

#include <QApplication>
#include <QTest>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace testing_support {

void onNextModal(std::function<void(QDialog*)> action, const QWidget* over) {
    auto* poll = new QTimer;
    auto started = std::make_shared<qint64>(0);
    // A dialog that never came in its own test must not be acted on in the
    // next one, which runs in the same process when the suite runs whole.
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    QObject::connect(poll, &QTimer::timeout, [poll, action, started, test, over]() mutable {
        *started += 10;
        if (::testing::UnitTest::GetInstance()->current_test_info() != test) {
            poll->stop();
            poll->deleteLater();
            return;
        }
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible() && dialog != over) {
            poll->stop();
            poll->deleteLater();
            // Act only once the dialog has the keyboard, as a user would.
            // The offscreen platform does not always move activation to a
            // window that opens over an active one, nor give it back to the
            // window below when it closes; a desktop does both.
            QPointer<QWidget> below =
                dialog->parentWidget() ? dialog->parentWidget()->window() : QApplication::activeWindow();
            QObject::connect(dialog, &QDialog::finished, [below] {
                if (below && below->isVisible())
                    QApplication::setActiveWindow(below);
            });
            dialog->activateWindow();
            const bool active = QTest::qWaitForWindowActive(dialog, 1000);
            if (!active || QApplication::activeWindow() != dialog)
                QApplication::setActiveWindow(dialog);

            action(dialog);
        } else if (*started > 5000) {
            poll->stop();
            poll->deleteLater();
            qWarning("onNextModal: no modal dialog came");
        }
    });
    poll->start(10);
}

QWidget* focusedWidget() {
    if (!QApplication::activeWindow()) {
        if (QWidget* modal = QApplication::activeModalWidget())
            QApplication::setActiveWindow(modal);
    }
    return QApplication::focusWidget();
}

void doubleClickRow(QAbstractItemView* view, int row, int column) {
    const QPoint point = view->visualRect(view->model()->index(row, column)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

void clickRow(QAbstractItemView* view, int row, int column) {
    const QPoint point = view->visualRect(view->model()->index(row, column)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QCoreApplication::processEvents();
}

} // namespace testing_support
