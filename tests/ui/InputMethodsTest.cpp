#include "ui/InputMethodBackends.h"
#include "ui/InputMethods.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using ui::InputMethods;

namespace {

class FakeBackend : public ui::InputMethodBackend {
public:
    explicit FakeBackend(QStringList* calls)
        : m_calls(calls) {}
    QStringList installed() override {
        return {QStringLiteral("wubi"), QStringLiteral("pinyin"), QStringLiteral("Anthy"),
                QStringLiteral("pinyin")};
    }
    QString defaultName() override { return QStringLiteral("keyboard-us"); }
    void activate(const QString& name) override { m_calls->append(name); }
    void activateDefault() override { m_calls->append(QStringLiteral("default")); }

private:
    QStringList* m_calls;
};

class InputMethodSwitching : public ::testing::Test {
protected:
    void SetUp() override {
        InputMethods::setBackend(std::make_unique<FakeBackend>(&m_calls));
        auto* layout = new QVBoxLayout(&m_window);
        for (QLineEdit** field : {&m_detail, &m_handler, &m_plain}) {
            *field = new QLineEdit;
            layout->addWidget(*field);
        }
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
        m_plain->setFocus();
        m_calls.clear();
    }
    void TearDown() override {
        InputMethods::setBackend(std::make_unique<ui::NullInputMethodBackend>());
    }

    QStringList callsWhileVisiting(QWidget* field) {
        m_calls.clear();
        field->setFocus();
        m_plain->setFocus();
        return m_calls;
    }

    QStringList m_calls;
    QWidget m_window;
    QLineEdit* m_detail = nullptr;
    QLineEdit* m_handler = nullptr;
    QLineEdit* m_plain = nullptr;
};

} // namespace

TEST_F(InputMethodSwitching, FocusSwitchesTheMethodOnAndTheDefaultBack) {
    InputMethods::assign(m_detail, QStringLiteral("pinyin"));
    InputMethods::assign(m_handler, QStringLiteral("pinyin"));
    EXPECT_EQ(InputMethods::assigned(m_detail), QStringLiteral("pinyin"));
    EXPECT_TRUE(InputMethods::assigned(m_plain).isEmpty());

    m_detail->setFocus();
    m_handler->setFocus();
    m_plain->setFocus();
    EXPECT_EQ(m_calls, QStringList({"pinyin", "default", "pinyin", "default"}));
}

TEST_F(InputMethodSwitching, EmptyDefaultAndUnknownNames) {
    InputMethods::assign(m_detail, QString());
    EXPECT_TRUE(callsWhileVisiting(m_detail).isEmpty());
    InputMethods::assign(m_detail, QStringLiteral("keyboard-us"));
    EXPECT_TRUE(callsWhileVisiting(m_detail).isEmpty());
    // Unknown: the default on entry, and nothing to undo on leaving.
    InputMethods::assign(m_detail, QStringLiteral("cangjie"));
    EXPECT_EQ(callsWhileVisiting(m_detail), QStringList({"default"}));
}

TEST_F(InputMethodSwitching, ALaterNameReplacesTheFormerOne) {
    InputMethods::assign(m_detail, QStringLiteral("pinyin"));
    InputMethods::assign(m_detail, QStringLiteral("wubi"));
    EXPECT_EQ(InputMethods::assigned(m_detail), QStringLiteral("wubi"));
    EXPECT_EQ(callsWhileVisiting(m_detail), QStringList({"wubi", "default"}));

    // Given while the field is being typed in, it applies at once.
    m_detail->setFocus();
    m_calls.clear();
    InputMethods::assign(m_detail, QStringLiteral("pinyin"));
    InputMethods::assign(m_detail, QString());
    m_plain->setFocus();
    EXPECT_EQ(m_calls, QStringList({"default", "pinyin", "default"}));
}

TEST_F(InputMethodSwitching, FieldsInsideCompositesAndFieldsThatGoAway) {
    auto* combo = new QComboBox;
    combo->addItems({QStringLiteral("甲"), QStringLiteral("乙")});
    combo->setEditable(true);
    m_window.layout()->addWidget(combo);
    combo->show();
    InputMethods::assign(combo, QStringLiteral("pinyin"));
    EXPECT_EQ(callsWhileVisiting(combo), QStringList({"pinyin", "default"}));
    // Its own drop-down does not take the focus away from it.
    combo->setFocus();
    m_calls.clear();
    combo->showPopup();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    combo->hidePopup();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
    EXPECT_TRUE(m_calls.isEmpty());
    m_plain->setFocus();

    InputMethods::assign(m_detail, QStringLiteral("pinyin"));
    m_detail->setFocus();
    m_calls.clear();
    delete m_detail;
    EXPECT_EQ(m_calls, QStringList({"default"}));
}

TEST(InputMethodList, InstalledSortedEachOnce) {
    QStringList calls;
    InputMethods::setBackend(std::make_unique<FakeBackend>(&calls));
    EXPECT_EQ(InputMethods::installedSorted(), QStringList({"Anthy", "pinyin", "wubi"}));
    InputMethods::setBackend(std::make_unique<ui::NullInputMethodBackend>());
    EXPECT_TRUE(InputMethods::installedSorted().isEmpty());
}

TEST(InputMethodBackends, Fcitx5ProfileGroupsInTheUsersOrder) {
    const QString profile = QStringLiteral(R"([Groups/0]
# Group Name
Name=Other
Default Layout=us

[Groups/0/Items/0]
Name=keyboard-de

[Groups/0/Items/1]
Name=mozc

[Groups/1]
Name="Default"

[Groups/1/Items/1]
Name=pinyin

[Groups/1/Items/0]
# Name
Name=keyboard-us
Layout=

[GroupOrder]
0=Default
1=Other
)");
    const ui::Fcitx5Profile parsed = ui::parseFcitx5Profile(profile);
    EXPECT_EQ(parsed.items, QStringList({"keyboard-us", "pinyin", "keyboard-de", "mozc"}));
    EXPECT_EQ(parsed.defaultItem, QStringLiteral("keyboard-us"));
    EXPECT_TRUE(ui::parseFcitx5Profile(QString()).items.isEmpty());
}

TEST(InputMethodBackends, IBusEngineListInBothForms) {
    const QString longForm = QStringLiteral("language: Chinese\n"
                                            "  libpinyin - Intelligent Pinyin\n"
                                            "  table:wubi-jidian86 - WubiJiDian86\n"
                                            "language: English\n"
                                            "  xkb:us::eng - English (US)\n");
    EXPECT_EQ(ui::parseIBusEngineList(longForm),
              QStringList({"libpinyin", "table:wubi-jidian86", "xkb:us::eng"}));
    EXPECT_EQ(ui::parseIBusEngineList(QStringLiteral("libpinyin\nxkb:us::eng\n")),
              QStringList({"libpinyin", "xkb:us::eng"}));
}

namespace {

/// A PATH holding only scripts written by the test, and a configuration folder of its own.
class InputMethodTools : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_savedPath = qgetenv("PATH");
        m_savedConfig = qgetenv("XDG_CONFIG_HOME");
        QDir(m_dir.path()).mkpath(QStringLiteral("bin"));
        QDir(m_dir.path()).mkpath(QStringLiteral("config/fcitx5"));
        qputenv("PATH", QFile::encodeName(m_dir.filePath(QStringLiteral("bin"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
    }
    void TearDown() override {
        qputenv("PATH", m_savedPath);
        qputenv("XDG_CONFIG_HOME", m_savedConfig);
    }

    void writeFile(const QString& name, const QByteArray& content, bool executable = false) {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFile::ExeOwner);
    }
    // Each script appends its name and arguments to calls.log.
    void writeTool(const QString& name, const QByteArray& body) {
        writeFile(QStringLiteral("bin/") + name,
                  "#!/bin/sh\nPATH=/usr/bin:/bin\necho \"${0##*/} $*\" >> '" +
                      QFile::encodeName(m_dir.filePath("calls.log")) + "'\n" + body,
                  true);
    }
    QStringList calls() {
        QFile file(m_dir.filePath(QStringLiteral("calls.log")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            if (!line.isEmpty())
                lines.append(line.trimmed());
        }
        return lines;
    }

    QTemporaryDir m_dir;
    QByteArray m_savedPath;
    QByteArray m_savedConfig;
};

} // namespace

TEST_F(InputMethodTools, Fcitx5WhenItsDaemonAnswers) {
    writeTool("fcitx5-remote", "echo 1\n");
    writeTool("ibus", "echo xkb:us::eng\n");
    writeFile("config/fcitx5/profile", "[Groups/0]\nName=Default\n[Groups/0/Items/0]\n"
                                       "Name=keyboard-us\n[Groups/0/Items/1]\nName=pinyin\n");
    std::unique_ptr<ui::InputMethodBackend> backend = ui::detectInputMethodBackend();
    ASSERT_NE(dynamic_cast<ui::Fcitx5Backend*>(backend.get()), nullptr);
    EXPECT_EQ(backend->installed(), QStringList({"pinyin"}));
    EXPECT_EQ(backend->defaultName(), QStringLiteral("keyboard-us"));
    backend->activate(QStringLiteral("pinyin"));
    backend->activateDefault();
    EXPECT_EQ(calls(), QStringList({"fcitx5-remote", "fcitx5-remote -s pinyin",
                                    "fcitx5-remote -s keyboard-us"}));
}

TEST_F(InputMethodTools, IBusWhenFcitx5DoesNotAnswer) {
    writeTool("fcitx5-remote", "exit 1\n");
    // An IBus without --name-only: the long listing is read instead.
    writeTool("ibus", "case \"$*\" in\n"
                      "engine) echo xkb:us::eng ;;\n"
                      "'list-engine --name-only') exit 2 ;;\n"
                      "list-engine) printf 'language: Chinese\\n  rime - Rime\\n"
                      "language: English\\n  xkb:us::eng - English (US)\\n' ;;\n"
                      "esac\n");
    std::unique_ptr<ui::InputMethodBackend> backend = ui::detectInputMethodBackend();
    ASSERT_NE(dynamic_cast<ui::IBusBackend*>(backend.get()), nullptr);
    EXPECT_EQ(backend->installed(), QStringList({"rime"}));
    EXPECT_EQ(backend->defaultName(), QStringLiteral("xkb:us::eng"));
    backend->activate(QStringLiteral("rime"));
    backend->activateDefault();
    EXPECT_EQ(calls(),
              QStringList({"fcitx5-remote", "ibus engine", "ibus list-engine --name-only",
                           "ibus list-engine", "ibus engine rime", "ibus engine xkb:us::eng"}));
}

TEST_F(InputMethodTools, NothingUsableGivesTheNullBackendWithoutWaitingLong) {
    EXPECT_NE(dynamic_cast<ui::NullInputMethodBackend*>(ui::detectInputMethodBackend().get()),
              nullptr);

    // Daemons that hang: each tool is given up after its short time.
    writeTool("fcitx5-remote", "exec sleep 10\n");
    writeTool("ibus", "exec sleep 10\n");
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<ui::InputMethodBackend> backend = ui::detectInputMethodBackend();
    EXPECT_NE(dynamic_cast<ui::NullInputMethodBackend*>(backend.get()), nullptr);
    EXPECT_LT(clock.elapsed(), 3000);
}
