#include "DatabaseFileWindow.h"

#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace admin {

namespace {
constexpr int kFileFieldWidth = 300;
constexpr int kButtonWidth = 75;
} // namespace

DatabaseFileWindow::DatabaseFileWindow(QWidget* owner, const QString& caption,
                                       const QString& actionText)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint) {
    setWindowTitle(caption);
    setModal(true);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    auto* label = new QLabel(QStringLiteral("目的数据库名："), panel);
    label->setObjectName(QStringLiteral("Label1"));
    m_file = new QLineEdit(panel);
    m_file->setObjectName(QStringLiteral("Edit1"));
    m_file->setReadOnly(true);
    m_file->setMinimumWidth(kFileFieldWidth);
    auto* browseButton = new QToolButton(panel);
    browseButton->setObjectName(QStringLiteral("SpeedButton3"));
    browseButton->setText(QStringLiteral("..."));
    m_browse = browseButton;
    auto* fileRow = new QHBoxLayout(panel);
    fileRow->setContentsMargins(12, 14, 12, 14);
    fileRow->addWidget(label);
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browseButton);

    auto makeButton = [this](const char* objectName, const QString& text) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(objectName));
        button->setText(text);
        button->setMinimumWidth(kButtonWidth);
        return button;
    };
    m_action = makeButton("SpeedButton1", actionText);
    m_back = makeButton("SpeedButton2", QStringLiteral("返回"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_action);
    buttons->addSpacing(24);
    buttons->addWidget(m_back);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_browse, &QAbstractButton::clicked, this, [this] {
        const QString file = browse();
        if (!file.isEmpty())
            m_file->setText(file);
    });
    connect(m_action, &QAbstractButton::clicked, this, &DatabaseFileWindow::act);
    connect(m_back, &QAbstractButton::clicked, this, [this] { done(QDialog::Rejected); });
}

DatabaseFileWindow::BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

DatabaseFileWindow::BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}

QString DatabaseFileWindow::chosenFile() const {
    return m_file->text();
}

void DatabaseFileWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void DatabaseFileWindow::act() {
    if (chosenFile().isEmpty()) {
        ui::warn(this, QStringLiteral("请先选择文件!"));
        return;
    }
    if (run(chosenFile()))
        done(QDialog::Accepted);
}

} // namespace admin
