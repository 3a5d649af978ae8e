#pragma once

// Runs the built tallomer-db as a cashier runs it from a terminal.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace toolrun {

inline const QString kTool = QStringLiteral(TALLOMER_DB);

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

inline ToolRun tool(const QStringList& args,
                    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(kTool, args);
    EXPECT_TRUE(process.waitForFinished(60000)) << args.join(QLatin1Char(' ')).toStdString();
    ToolRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace toolrun
