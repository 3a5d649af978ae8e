#include "TextDecoding.h"

#include <QStringDecoder>

#include <iconv.h>

namespace tools {

std::optional<QString> decodeGbk(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return QString();
    iconv_t cd = iconv_open("UTF-16LE", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    QByteArray out(bytes.size() * 2 + 2, '\0');
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char* dst = out.data();
    size_t outLeft = size_t(out.size());
    const size_t result = iconv(cd, &in, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    if (result == size_t(-1) || inLeft != 0)
        return std::nullopt;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(out.constData()),
                              qsizetype((size_t(out.size()) - outLeft) / 2));
}

std::optional<QString> decodeImportText(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(bytes.mid(3));
        return utf8.hasError() ? std::nullopt : std::optional<QString>(text);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return decodeGbk(bytes);
}

} // namespace tools
