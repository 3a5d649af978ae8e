#include "ConfinedWork.h"

#include <QDeadlineTimer>
#include <QFile>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lists {

namespace {

// The address space this process has mapped now.
qint64 mappedBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readLine().split(' ').value(0).toLongLong() * sysconf(_SC_PAGESIZE);
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

std::optional<QByteArray> runConfined(const std::function<QByteArray()>& work, qint64 memoryBytes,
                                      qint64 maxAnswerBytes, int seconds) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return std::nullopt;
    const qint64 limit = mappedBytes() + memoryBytes;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        return std::nullopt;
    }
    if (child == 0) {
        // The child leaves at once when done: none of the parent's clean-up is its to run.
        ::close(pipeEnds[0]);
        const rlimit memory = {rlim_t(limit), rlim_t(limit)};
        if (::setrlimit(RLIMIT_AS, &memory) != 0)
            ::_exit(2);
        int status = 1;
        try {
            status = writeAll(pipeEnds[1], work()) ? 0 : 1;
        } catch (...) {
        }
        ::_exit(status);
    }
    ::close(pipeEnds[1]);
    QByteArray answer;
    bool failed = false;
    char chunk[65536];
    QDeadlineTimer deadline(std::chrono::seconds{seconds});
    for (;;) {
        pollfd ready = {pipeEnds[0], POLLIN, 0};
        const int polled = ::poll(&ready, 1, int(std::min<qint64>(deadline.remainingTime(), 1000)));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled == 0 && !deadline.hasExpired())
            continue;
        const ssize_t n = polled > 0 ? ::read(pipeEnds[0], chunk, sizeof chunk) : -1;
        if (n < 0 && errno == EINTR && polled > 0)
            continue;
        if (n == 0)
            break;
        if (n < 0 || answer.size() + n > maxAnswerBytes) {
            failed = true;
            ::kill(child, SIGKILL);
            break;
        }
        answer.append(chunk, n);
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (failed || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return answer;
}

} // namespace lists
