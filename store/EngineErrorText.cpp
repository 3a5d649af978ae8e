#include "EngineErrorText.h"

#include "SystemErrorText.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <cerrno>
#include <span>

namespace store {

namespace {

struct Pattern {
    const char* english;
    const char* chinese; // %1 the name the English message carries
};

// The messages of SQL text the engine cannot run, as the windows' statements can meet them
// on a damaged or foreign database.
const Pattern kErrors[] = {
    {"^no such table: (.+)$", "找不到表“%1”"},
    {"^no such column: (.+)$", "找不到字段“%1”"},
    {"^no such function: (.+)$", "找不到函数“%1”"},
    {"^ambiguous column name: (.+)$", "字段名“%1”不明确"},
    {"^table (.+) already exists$", "表“%1”已经存在"},
    {"^table (.+) has no column named (.+)$", "表“%1”中没有字段“%2”"},
    {"^near \"(.*)\": syntax error$", "SQL 语句在“%1”附近有语法错误"},
    {"^incomplete input$", "SQL 语句不完整"},
    {"^(.+) values for (.+) columns$", "值的个数与字段的个数不一致"},
    {"^wrong number of arguments to function (.+)\\(\\)$", "函数“%1”的参数个数不对"},
    {"^misuse of aggregate: (.+)\\(\\)$", "聚合函数“%1”用得不对"},
    {"^no such savepoint: (.+)$", "找不到保存点“%1”"},
    {"^cannot start a transaction within a transaction$", "不能在事务中再开始一个事务"},
    {"^cannot commit - no transaction is active$", "没有正在进行的事务，不能提交"},
    {"^cannot rollback - no transaction is active$", "没有正在进行的事务，不能回滚"},
};

const Pattern kConstraints[] = {
    {"^UNIQUE constraint failed: (.+)$", "字段“%1”的值重复"},
    {"^NOT NULL constraint failed: (.+)$", "字段“%1”不能为空"},
    {"^CHECK constraint failed: (.+)$", "数据不符合约束“%1”"},
    {"^FOREIGN KEY constraint failed$", "数据不符合外键约束"},
};

// The engine's own messages are English and begin so; the SQL functions' messages and a
// trigger's Chinese words begin otherwise.
bool isOwnMessage(const QString& text) {
    return !text.isEmpty() && text.front().unicode() > 0x7f;
}

QString translated(std::span<const Pattern> patterns, const QString& message) {
    for (const Pattern& pattern : patterns) {
        const QRegularExpression english(QString::fromLatin1(pattern.english));
        const QRegularExpressionMatch match = english.match(message);
        if (!match.hasMatch())
            continue;
        QString text = QString::fromUtf8(pattern.chinese);
        for (int i = 1; i <= match.lastCapturedIndex() && text.contains(QLatin1Char('%')); ++i)
            text = text.arg(match.captured(i));
        return text;
    }
    return QString();
}

QString byCode(int code) {
    switch (code) {
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("没有访问数据库的权限");
    case SQLITE_ABORT:
    case SQLITE_INTERRUPT:
        return QStringLiteral("数据库操作被中止");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("数据库文件正在被另一个程序使用");
    case SQLITE_NOMEM:
        return QStringLiteral("内存不足");
    case SQLITE_READONLY:
        return QStringLiteral("数据库文件是只读的，不能写入");
    case SQLITE_IOERR:
        return QStringLiteral("读写数据库文件时出错");
    case SQLITE_CORRUPT:
        return QStringLiteral("数据库文件已经损坏");
    case SQLITE_FULL:
        return QStringLiteral("磁盘已满，不能写入数据库");
    case SQLITE_CANTOPEN:
        return QStringLiteral("不能打开数据库文件");
    case SQLITE_PROTOCOL:
        return QStringLiteral("数据库文件的锁定出错");
    case SQLITE_SCHEMA:
        return QStringLiteral("数据库的结构已经改变");
    case SQLITE_TOOBIG:
        return QStringLiteral("数据太大");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("数据不符合表的约束");
    case SQLITE_MISMATCH:
        return QStringLiteral("数据类型不匹配");
    case SQLITE_MISUSE:
        return QStringLiteral("数据库的使用方法不对");
    case SQLITE_NOLFS:
        return QStringLiteral("系统不支持这么大的数据库文件");
    case SQLITE_RANGE:
        return QStringLiteral("参数的序号超出了范围");
    case SQLITE_NOTADB:
        return QStringLiteral("不是数据库文件");
    default:
        return QString();
    }
}

// The failures of reading, writing or opening a file, whose system error tells the cause.
bool failedOnDisk(int code) {
    return code == SQLITE_IOERR || code == SQLITE_CANTOPEN || code == SQLITE_READONLY ||
           code == SQLITE_FULL;
}

QString withoutCause(int code, const QString& message) {
    if (isOwnMessage(message))
        return message;
    const std::span<const Pattern> patterns =
        code == SQLITE_CONSTRAINT ? std::span<const Pattern>(kConstraints) : std::span<const Pattern>(kErrors);
    if (const QString text = translated(patterns, message); !text.isEmpty())
        return text;
    // A message of its own (a trigger's, say) still tells the cause, after the Chinese lead.
    const QString lead = byCode(code);
    if (lead.isEmpty())
        return QStringLiteral("数据库引擎错误：") + message;
    if (message.isEmpty() || message == QString::fromUtf8(sqlite3_errstr(code)))
        return lead;
    return lead + QStringLiteral("：") + message;
}

// Whether `systemError` tells why SQLite failed with `code`. A full disk is the
// lead's own cause; SQLite keeps the number of the last call that failed,
// which for a read-only book may be an earlier, harmless one.
bool tellsTheCause(int code, int systemError) {
    switch (code) {
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return systemError != 0;
    case SQLITE_FULL:
        return systemError != 0 && systemError != ENOSPC;
    case SQLITE_READONLY:
        return systemError == EACCES || systemError == EPERM || systemError == EROFS;
    default:
        return false;
    }
}

} // namespace

QString engineErrorText(int code, const QString& message, int systemError) {
    const QString text = withoutCause(code, message);
    if (!tellsTheCause(code, systemError))
        return text;
    return text + QStringLiteral("：") + systemErrorText(systemError);
}

int engineSystemError(int code, int systemError) {
    if (!failedOnDisk(code))
        return 0;
    if (systemError != 0)
        return systemError;
    // The nearest number where SQLite did not keep one.
    return code == SQLITE_FULL ? ENOSPC : EIO;
}

} // namespace store
