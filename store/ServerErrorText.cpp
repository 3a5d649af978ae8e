#include "ServerErrorText.h"

#include <QRegularExpression>

namespace store {

namespace {

// The first name the server's message quotes.
QString quotedName(const QString& message) {
    static const QRegularExpression quoted(QStringLiteral("\"([^\"]*)\""));
    const QRegularExpressionMatch m = quoted.match(message);
    return m.hasMatch() ? m.captured(1) : QString();
}

} // namespace

QString serverErrorText(const QString& code, const QString& message, const QString& table,
                        const QString& detail) {
    if (!message.isEmpty() && message.front().unicode() > 0x7f)
        return message;
    const QString name = quotedName(message);
    const QString cls = code.left(2);
    if (code == QLatin1String("23505")) {
        // "Key (代码)=(1) already exists."
        static const QRegularExpression key(QStringLiteral(R"(^Key \(([^)]*)\)=)"));
        const QRegularExpressionMatch m = key.match(detail);
        const QString column = m.hasMatch() && !table.isEmpty() ? table + QLatin1Char('.') + m.captured(1).remove(QLatin1Char('"'))
                                                                : name;
        return QStringLiteral("字段“%1”的值重复").arg(column);
    }
    if (code == QLatin1String("42601")) {
        static const QRegularExpression near(QStringLiteral(R"re(^syntax error at or near "(.*)"$)re"));
        if (const QRegularExpressionMatch m = near.match(message); m.hasMatch())
            return QStringLiteral("SQL 语句在“%1”附近有语法错误").arg(m.captured(1));
        if (message.startsWith(QLatin1String("syntax error at end of input")))
            return QStringLiteral("SQL 语句不完整");
    }
    if (code == QLatin1String("23514")) // a check or a trigger refused the row
        return QStringLiteral("数据不符合表的约束：%1").arg(message);
    if (code == QLatin1String("23502"))
        return QStringLiteral("字段“%1”不能为空").arg(name);
    if (code == QLatin1String("42P01"))
        return QStringLiteral("找不到表“%1”").arg(name);
    if (code == QLatin1String("42703"))
        return QStringLiteral("找不到字段“%1”").arg(name);
    if (code == QLatin1String("42883"))
        return QStringLiteral("找不到函数：%1").arg(message);
    if (code == QLatin1String("42P07"))
        return QStringLiteral("表“%1”已经存在").arg(name);
    if (code == QLatin1String("42601"))
        return QStringLiteral("SQL 语句有语法错误：%1").arg(message);
    if (code == QLatin1String("40001") || code == QLatin1String("40P01"))
        return QStringLiteral("另一台电脑正在修改同样的数据，这次操作没有完成，请再试一次");
    if (code == QLatin1String("55P03"))
        return QStringLiteral("数据正被另一台电脑使用");
    if (code == QLatin1String("42501"))
        return QStringLiteral("没有访问数据库的权限：%1").arg(message);
    if (code == QLatin1String("53100"))
        return QStringLiteral("数据库服务器的磁盘空间不足");
    if (code == QLatin1String("25P02"))
        return QStringLiteral("这次操作中已有一步失败，其余的步骤没有执行");
    if (cls == QLatin1String("08") || cls == QLatin1String("57") || code.isEmpty())
        return QStringLiteral("与数据库服务器的连接中断：%1").arg(message);
    if (cls == QLatin1String("22"))
        return QStringLiteral("数据不符合要求：%1").arg(message);
    return QStringLiteral("数据库服务器报告错误：%1").arg(message);
}

QString serverConnectionErrorText(const QString& message) {
    if (message.contains(QLatin1String("password authentication failed")) ||
        message.contains(QLatin1String("no password supplied")))
        return QStringLiteral("不能连接数据库服务器：用户名或密码不对\n%1").arg(message);
    if (message.contains(QLatin1String("does not exist")))
        return QStringLiteral("不能连接数据库服务器：数据库或用户不存在\n%1").arg(message);
    return QStringLiteral("不能连接数据库服务器：%1").arg(message);
}

} // namespace store
