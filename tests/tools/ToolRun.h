#pragma once

// Runs the built tallomer-db as a cashier runs it from a terminal.

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <unistd.h>

namespace toolrun {

inline const QString kTool = QStringLiteral(TALLOMER_DB);

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

inline ToolRun run(const QString& program, const QStringList& args,
                   const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(60000)) << args.join(QLatin1Char(' ')).toStdString();
    ToolRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

inline ToolRun tool(const QStringList& args,
                    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    return run(kTool, args, environment);
}

/// Whether the tests may act as a second, unprivileged user (root with setpriv).
inline bool canRunAsNobody() {
    return ::geteuid() == 0 && !QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty();
}

/// Runs the tool as the user nobody, for whom permission bits count.
inline ToolRun toolAsNobody(const QStringList& args) {
    return run(QStandardPaths::findExecutable(QStringLiteral("setpriv")),
               QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                           QStringLiteral("--clear-groups"), kTool} +
                   args);
}

} // namespace toolrun
