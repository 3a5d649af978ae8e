#pragma once

#include "ui/InputMethods.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace ui {

/// What a framework's command-line tool said: `ok` only when it started, ended within the
/// time allowed and reported success.
struct CommandResult {
    bool ok = false;
    QString output;
};

/// Runs a tool of an input-method framework. A tool that hangs is killed after
/// `timeoutMs`, so a stuck daemon costs the user interface at most that long.
CommandResult runCommand(const QString& program, const QStringList& arguments, int timeoutMs = 500);

/// For systems without an input-method framework: lists nothing, switches nothing.
class NullInputMethodBackend : public InputMethodBackend {
public:
    QStringList installed() override { return {}; }
    QString defaultName() override { return {}; }
    void activate(const QString&) override {}
    void activateDefault() override {}
};

/// The items of the input-method groups of an fcitx5 profile.
struct Fcitx5Profile {
    /// Every item of every group, in group order, each once; keyboard layouts included.
    QStringList items;
    /// The first item of the default group (the first in the group order).
    QString defaultItem;
};
Fcitx5Profile parseFcitx5Profile(const QString& text);

/// fcitx5, driven through fcitx5-remote; the installed methods come from the user's profile.
class Fcitx5Backend : public InputMethodBackend {
public:
    Fcitx5Backend(QString remoteProgram, QString profilePath);
    /// The user's profile under the configuration folder.
    static QString defaultProfilePath();

    QStringList installed() override;
    QString defaultName() override;
    void activate(const QString& name) override;
    void activateDefault() override;

private:
    Fcitx5Profile profile() const;

    QString m_remote;
    QString m_profilePath;
};

/// Engine names from the output of "ibus list-engine", with or without --name-only.
QStringList parseIBusEngineList(const QString& output);

/// IBus, driven through the ibus tool; the default is the engine active when the program
/// started, since IBus has no notion of a default engine of its own.
class IBusBackend : public InputMethodBackend {
public:
    IBusBackend(QString ibusProgram, QString startEngine);

    QStringList installed() override;
    QString defaultName() override { return m_startEngine; }
    void activate(const QString& name) override;
    void activateDefault() override;

private:
    QString m_ibus;
    QString m_startEngine;
    QStringList m_engines;
    bool m_listed = false;
};

/// fcitx5 when its daemon answers, otherwise IBus when its daemon answers, otherwise the
/// null backend. The tools are looked up on PATH.
std::unique_ptr<InputMethodBackend> detectInputMethodBackend();

} // namespace ui
