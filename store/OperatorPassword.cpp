#include "OperatorPassword.h"

#include "EngineError.h"
#include "TextFolding.h"

#include <sodium.h>

namespace store::operatorPassword {

namespace {

// Every hash crypto_pwhash_str writes starts with the algorithm's name.
const QString kHashPrefix = QStringLiteral("$argon2id$");

bool isHash(const QString& stored) {
    return stored.startsWith(kHashPrefix);
}

void initialiseSodium() {
    if (sodium_init() < 0)
        throw EngineError(QStringLiteral("口令加密模块不能初始化"));
}

} // namespace

QString toStored(const QString& password) {
    if (password.isEmpty())
        return {};
    initialiseSodium();
    const QByteArray text = upperCaseLatin(password).toUtf8();
    // The interactive limits keep a login well under a second on a cashier's PC.
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, text.constData(), static_cast<unsigned long long>(text.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw EngineError(QStringLiteral("内存不足,不能保存操作口令"));
    return QString::fromLatin1(hash);
}

bool matches(const QString& typed, const QString& stored) {
    if (!isHash(stored))
        return upperCaseLatin(typed) == upperCaseLatin(stored);
    initialiseSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray text = upperCaseLatin(typed).toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), text.constData(),
                                    static_cast<unsigned long long>(text.size())) == 0;
}

bool isClear(const QString& stored) {
    return !stored.isEmpty() && !isHash(stored);
}

} // namespace store::operatorPassword
