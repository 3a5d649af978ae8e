#pragma once

#include <QMainWindow>

#include <memory>

class QLabel;
class QTimer;
class QToolButton;

namespace app {

class Commands;
class DamageNoticeAtStart;

/// The main window: menus, tool bar, scrolling banner, background picture and
/// status bar; its first activation connects and logs in, closing it ends the run.
class TForm_main : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm_main(QWidget* parent = nullptr);
    ~TForm_main() override;

    /// Status-bar panels 1 to 4, left to right.
    QLabel* statusPanel(int number) const;
    /// Shows the logged-in operator in status panel 1.
    void showOperator();
    /// Replaces the banner text; the label takes the width of its text.
    void setBannerText(const QString& text);
    /// Runs a menu or tool-bar command by its component name (N24, N9 ...).
    void runCommand(const QString& component);

    /// Whether the activation sequence has run.
    bool activated() const { return m_activated; }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void formActivate();
    void timerTick();

private:
    void buildMenus();
    QWidget* buildTopBar();
    void buildStatusBar();
    /// The background: the data folder's system.jpg, else the built-in picture.
    void showPicture();
    void queueActivation();

    std::unique_ptr<Commands> m_commands;
    std::unique_ptr<DamageNoticeAtStart> m_damageNotice;
    QLabel* m_image = nullptr;
    QWidget* m_bannerPanel = nullptr;
    QLabel* m_banner = nullptr;
    QList<QLabel*> m_panels;
    QTimer* m_timer = nullptr;
    bool m_activationQueued = false;
    bool m_activated = false;
};

} // namespace app
