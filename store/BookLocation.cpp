#include "BookLocation.h"

#include "EngineError.h"
#include "SystemErrorText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>

namespace store {

bool isServerBook(const QString& name) {
    static const QRegularExpression server(
        QStringLiteral(R"(^\s*(postgres(ql)?://|(host|hostaddr|port|dbname|user|service|)"
                       R"(sslmode|connect_timeout|options|passfile|application_name)\s*=))"),
        QRegularExpression::CaseInsensitiveOption);
    return server.match(name).hasMatch();
}

QString serverLineFile(const QString& bookFile) {
    const QFileInfo info(bookFile);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".server"));
}

QString programBook(const QString& bookFile) {
    const QString fromEnvironment = qEnvironmentVariable("TALLOMER_BOOK").trimmed();
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString lineFile = serverLineFile(bookFile);
    if (!QFileInfo::exists(lineFile))
        return bookFile;
    QFile file(lineFile);
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(QStringLiteral("不能读取文件“%1”：%2")
                              .arg(QFileInfo(lineFile).absoluteFilePath(), systemErrorText(errno)));
    const QString line = QString::fromUtf8(file.readLine(64 * 1024)).trimmed();
    if (!isServerBook(line))
        throw EngineError(QStringLiteral("文件“%1”的第一行应该是数据库服务器的连接字符串，"
                                         "例如 postgresql://cashier@server/company")
                              .arg(QFileInfo(lineFile).absoluteFilePath()));
    return line;
}

QString shownBookName(const QString& name) {
    if (!isServerBook(name))
        return name;
    QString shown = name;
    static const QRegularExpression uriPassword(QStringLiteral("(://[^:/@]*):[^@/]*@"));
    static const QRegularExpression keyPassword(QStringLiteral(R"(\bpassword\s*=\s*('[^']*'|\S*))"),
                                                QRegularExpression::CaseInsensitiveOption);
    shown.replace(uriPassword, QStringLiteral("\\1@"));
    shown.replace(keyPassword, QStringLiteral("password=***"));
    return shown;
}

} // namespace store
