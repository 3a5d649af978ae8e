#pragma once

// A lock file as a program that has ended leaves it behind.

#include <QFile>
#include <QString>
#include <QSysInfo>

#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

/// Writes `lockFile` naming a process of this host that has ended, and
/// returns that process's id; 0 when it could not.
inline qint64 leaveLockOfEndedProcess(const QString& lockFile) {
    const pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    if (dead < 0 || ::waitpid(dead, nullptr, 0) != dead)
        return 0;
    QFile file(lockFile);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    file.write(QStringLiteral("%1\ntallomer-db\n%2\n")
                   .arg(dead)
                   .arg(QSysInfo::machineHostName())
                   .toUtf8());
    return dead;
}

} // namespace testing_support
