#include "EngineTable.h"

#include "Database.h"
#include "EngineError.h"
#include "Statement.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

namespace store {

const QString EngineTable::kFormat = QStringLiteral("tallomer-1");

namespace {

QByteArray digest(const QByteArray& salt, const QString& password) {
    return QCryptographicHash::hash(salt + password.toUtf8(), QCryptographicHash::Sha256);
}

QString makeVerifier(const QString& password) {
    QByteArray salt(16, '\0');
    QRandomGenerator::system()->generate(reinterpret_cast<quint32*>(salt.data()),
                                         reinterpret_cast<quint32*>(salt.data() + salt.size()));
    return QStringLiteral("sha256:%1:%2")
        .arg(QString::fromLatin1(salt.toHex()), QString::fromLatin1(digest(salt, password).toHex()));
}

bool matches(const QString& verifier, const QString& password) {
    const QStringList parts = verifier.split(QLatin1Char(':'));
    if (parts.size() != 3 || parts[0] != QLatin1String("sha256"))
        return false;
    const QByteArray salt = QByteArray::fromHex(parts[1].toLatin1());
    return digest(salt, password).toHex() == parts[2].toLatin1();
}

void put(Database& db, const QString& key, const QString& value) {
    Statement s(db, QStringLiteral("INSERT OR REPLACE INTO _engine (key, value) VALUES (?, ?)"));
    s.bindText(1, key);
    s.bindText(2, value);
    s.step();
}

} // namespace

void EngineTable::create(Database& db, const QString& password) {
    db.exec(QStringLiteral("CREATE TABLE _engine (key TEXT PRIMARY KEY, value TEXT)"));
    put(db, QStringLiteral("format"), kFormat);
    setPassword(db, password);
}

void EngineTable::setPassword(Database& db, const QString& password) {
    put(db, QStringLiteral("password"), makeVerifier(password));
}

QString EngineTable::value(Database& db, const QString& key) {
    Statement read(db, QStringLiteral("SELECT value FROM _engine WHERE key=?"));
    read.bindText(1, key);
    return read.step() ? read.text(0) : QString();
}

void EngineTable::setValue(Database& db, const QString& key, const QString& value) {
    put(db, key, value);
}

void EngineTable::verify(Database& db, const QString& password) {
    Statement probe(db, QStringLiteral(
                            "SELECT count(*) FROM sqlite_master WHERE type='table' AND name='_engine'"));
    probe.step();
    if (probe.int64(0) == 0)
        throw EngineError(QStringLiteral("不能识别的数据库格式“%1”").arg(db.path()));
    Statement read(db, QStringLiteral("SELECT value FROM _engine WHERE key='password'"));
    if (!read.step() || !matches(read.text(0), password))
        throw EngineError(QStringLiteral("不是有效的数据库密码"));
}

} // namespace store
