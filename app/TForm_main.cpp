#include "TForm_main.h"

#include "Commands.h"
#include "DailyCopyAtClose.h"
#include "DamageNoticeAtStart.h"
#include "ExactCaption.h"
#include "FirstPaint.h"
#include "MainMenu.h"
#include "StartTiming.h"
#include "TForm_Enter.h"

#include "store/BookLocation.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/EngineError.h"
#include "ui/Artwork.h"
#include "ui/Fonts.h"
#include "ui/InputMethods.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cerrno>
#include <QVBoxLayout>

namespace app {

namespace {

constexpr int kTopBarHeight = 50;
constexpr int kToolButtonHeight = 39;
constexpr int kTopBarMargin = 2;
constexpr int kBannerIntervalMs = 60;
constexpr int kActivationFallbackMs = 500;
constexpr int kOperatorPanelWidth = 120;
constexpr int kEmptyPanelWidth = 350;
const QString kSupportText = QStringLiteral("技术支持：请与本单位系统管理员联系");

} // namespace

TForm_main::TForm_main(QWidget* parent)
    : QMainWindow(parent), m_commands(std::make_unique<Commands>(*this)) {
    setObjectName(QStringLiteral("Form_main"));
    setWindowTitle(QStringLiteral("Tallomer"));
    setWindowIcon(ui::artwork::applicationIcon());

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildTopBar());
    m_image = new QLabel(central);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setScaledContents(true);
    m_image->setMinimumSize(1, 1);
    m_image->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    layout->addWidget(m_image, 1);
    setCentralWidget(central);

    buildMenus();
    buildStatusBar();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(kBannerIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &TForm_main::timerTick);
    m_timer->start();
    setWindowState(Qt::WindowMaximized);
}

TForm_main::~TForm_main() = default;

void TForm_main::showPicture() {
    if (!m_image->pixmap().isNull())
        return;
    // A picture of the company's own in the data folder replaces the built-in one.
    QPixmap own;
    if (QFile::exists(QStringLiteral("system.jpg")) &&
        own.load(QStringLiteral("system.jpg"), "JPG"))
        m_image->setPixmap(own);
    else
        m_image->setPixmap(ui::artwork::background(QSize(1600, 1000)));
}

void TForm_main::buildMenus() {
    for (const MenuDef& def : mainMenus()) {
        QMenu* menu = menuBar()->addMenu(def.caption);
        for (const MenuItemDef& item : def.items) {
            if (item.component.isEmpty()) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(item.caption);
            action->setObjectName(item.component);
            action->setVisible(item.visible);
            action->setEnabled(item.enabled);
            const QString component = item.component;
            connect(action, &QAction::triggered, this, [this, component] { runCommand(component); });
        }
    }
}

QWidget* TForm_main::buildTopBar() {
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("Panel1"));
    bar->setFixedHeight(kTopBarHeight);
    bar->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(4, kTopBarMargin, 4, kTopBarMargin);
    row->setSpacing(2);
    for (const ToolButtonDef& def : toolButtons()) {
        if (def.dividerBefore) {
            auto* divider = new QFrame(bar);
            divider->setFrameShape(QFrame::VLine);
            divider->setFrameShadow(QFrame::Sunken);
            row->addWidget(divider);
        }
        auto* button = new QToolButton(bar);
        button->setObjectName(def.component);
        button->setText(def.caption);
        button->setIcon(QIcon(ui::artwork::toolPicture(def.picture)));
        button->setIconSize(QSize(24, 24));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        // 39 pixels hold the picture and a caption of a face with a short line; the
        // CJK faces' taller line would lose the caption's bottom, so the button grows
        // as far as the top bar leaves room.
        button->setFixedHeight(std::clamp(button->sizeHint().height(), kToolButtonHeight,
                                          kTopBarHeight - 2 * kTopBarMargin));
        button->setFocusPolicy(Qt::NoFocus);
        const QString command = def.command;
        connect(button, &QToolButton::clicked, this, [this, command] { runCommand(command); });
        row->addWidget(button);
    }
    m_bannerPanel = new QWidget(bar);
    m_bannerPanel->setObjectName(QStringLiteral("Panel5"));
    row->addWidget(m_bannerPanel, 1);
    m_banner = new QLabel(m_bannerPanel);
    m_banner->setObjectName(QStringLiteral("Label1"));
    m_banner->setFont(ui::songFont(15, true));
    m_banner->setStyleSheet(QStringLiteral("color: blue;"));
    setBannerText(QStringLiteral("好人一生平安"));
    m_banner->move(0, (kTopBarHeight - 4 - m_banner->height()) / 2);
    return bar;
}

void TForm_main::buildStatusBar() {
    const int widths[] = {kOperatorPanelWidth, 100, kEmptyPanelWidth, 0};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(statusBar());
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        if (widths[i] > 0)
            panel->setFixedWidth(widths[i]);
        if (i != 2)
            panel->setAlignment(Qt::AlignCenter);
        statusBar()->addWidget(panel, widths[i] > 0 ? 0 : 1);
        m_panels << panel;
    }
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    m_panels[0]->setText(QStringLiteral("操作员："));
    m_panels[3]->setText(kSupportText);
}

QLabel* TForm_main::statusPanel(int number) const { return m_panels.value(number - 1); }

void TForm_main::showOperator() {
    QLabel* panel = statusPanel(1);
    panel->setText(QStringLiteral("操作员：") +
                   (ui::Dm1 ? ui::Dm1->login.operatorName : QString()));
    // A long name shows whole: the panel widens, and the always empty third panel gives up
    // as much, so that the support text stays where it was.
    const int frame = panel->width() - panel->contentsRect().width();
    const int text = panel->fontMetrics().horizontalAdvance(panel->text());
    const int width =
        std::max(kOperatorPanelWidth, text + frame + 2 * panel->fontMetrics().averageCharWidth());
    panel->setFixedWidth(width);
    statusPanel(3)->setFixedWidth(std::max(0, kEmptyPanelWidth - (width - kOperatorPanelWidth)));
}

void TForm_main::setBannerText(const QString& text) {
    m_banner->setText(text);
    m_banner->resize(m_banner->fontMetrics().horizontalAdvance(text), m_banner->fontMetrics().height() + 4);
}

void TForm_main::runCommand(const QString& component) { m_commands->run(component); }

void TForm_main::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The sequence runs once, the first time the window becomes active; it is
    // queued so that the window is on screen before the login window shows.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        queueActivation();
}

void TForm_main::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Some desktops (a bare X server, say) never make a window active by
    // themselves; the sequence must run all the same.
    QTimer::singleShot(kActivationFallbackMs, this, [this] {
        if (isVisible())
            queueActivation();
    });
}

void TForm_main::queueActivation() {
    if (m_activationQueued)
        return;
    m_activationQueued = true;
    QMetaObject::invokeMethod(this, &TForm_main::formActivate, Qt::QueuedConnection);
}

void TForm_main::formActivate() {
    ui::TDm1& dm = *ui::Dm1;
    try {
        dm.ADO_xjrjz.open();
    } catch (const store::EngineError& e) {
        // A missing book or a wrong password is told as always; a book the
        // system cannot reach (no permission, a folder in its place) says why.
        // A server says why it refused (unreachable, no such database, wrong password).
        const bool unreachable = (e.systemError() != 0 && e.systemError() != ENOENT) ||
                                 store::isServerBook(store::ConnectionString(
                                     dm.ADO_xjrjz.connectionString()).dataSource());
        ui::plain(this, QStringLiteral("系统数据库没有连接，请与软件公司联系！") +
                            (unreachable ? QLatin1Char('\n') + e.message() : QString()));
        close();
        return;
    }
    // The server looks after its own pages; the look for damage reads a book file.
    if (!dm.ADO_xjrjz.database().isServer())
        m_damageNotice = std::make_unique<DamageNoticeAtStart>(this, dm.ADO_xjrjz);
    dm.q_gzsj.openWith({QStringLiteral("select * from 关帐日期")});
    dm.login.closingDate = dm.q_gzsj.fieldByName(QStringLiteral("关帐日期")).asDateTime();
    dm.q_gzsj.close();

    dm.q_gsxx.openWith({QStringLiteral("select * from 公司信息")});
    setBannerText(dm.q_gsxx.fieldByName(QStringLiteral("动态文字")).asString());
    setExactCaption(this, dm.q_gsxx.fieldByName(QStringLiteral("系统标题")).asString());
    dm.q_gsxx.close();

    statusPanel(2)->setText(store::DateTime::today().toShortDateString());

    dm.q_qxb.openWith({QStringLiteral("select * from 权限表 order by 姓名")});
    {
        TForm_Enter login(this);
        // The start waits for the login window alone. The background picture
        // (painted, or a company's photograph to decode) and the look for the
        // input method in use (which starts programs; the one in use now is
        // the default one) follow once the login window is on the screen.
        afterFirstPaint(&login, [this, &login] {
            reportStartIfTimed(&login);
            showPicture();
            ui::InputMethods::backend();
        });
        login.exec();
    }
    showPicture();
    dm.q_qxb.close();
    dm.login.loggedIn = true;
    showOperator();
    m_activated = true;
    if (m_damageNotice)
        m_damageNotice->loggedIn();
}

void TForm_main::closeEvent(QCloseEvent* event) {
    if (ui::Dm1) {
        ui::Dm1->q_qxb.close();
        // A run that connected and logged in leaves the day's copy of the book.
        if (ui::Dm1->login.loggedIn && ui::Dm1->ADO_xjrjz.isConnected())
            makeDailyCopyAtClose(this, ui::Dm1->ADO_xjrjz.database());
        ui::Dm1->ADO_xjrjz.close();
    }
    m_timer->stop();
    QMainWindow::closeEvent(event);
}

void TForm_main::timerTick() {
    // At or beyond its own width past the left edge the text is wholly gone; a shorter text
    // saved while the old one was partly gone starts there, and must come back as well.
    if (m_banner->x() <= -m_banner->width())
        m_banner->move(m_bannerPanel->width(), m_banner->y());
    else
        m_banner->move(m_banner->x() - 1, m_banner->y());
}

} // namespace app
