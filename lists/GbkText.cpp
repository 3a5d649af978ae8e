#include "GbkText.h"

#include <QSysInfo>

#include <iconv.h>
#include <stdexcept>

namespace lists {

namespace {

iconv_t descriptor(void* handle) {
    return static_cast<iconv_t>(handle);
}

// No GBK character has 0xFFFF for its bytes: 0xFF is no lead byte.
constexpr quint16 NoGbk = 0xFFFF;

} // namespace

GbkEncoder::GbkEncoder() {
    const char* from = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";
    iconv_t cd = iconv_open("GBK", from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("the C library offers no GBK conversion");
    m_handle = cd;
}

GbkEncoder::~GbkEncoder() {
    iconv_close(descriptor(m_handle));
}

void GbkEncoder::append(QByteArray& out, QStringView text) {
    // Most cells (dates, amounts, numbers) are plain ASCII, which GBK keeps
    // as it is: copy those without looking anything up.
    const qsizetype start = out.size();
    const qsizetype n = text.size();
    out.resize(start + n);
    char* dst = out.data() + start;
    const char16_t* src = text.utf16();
    qsizetype i = 0;
    for (; i < n && src[i] < 0x80; ++i)
        dst[i] = static_cast<char>(src[i]);
    if (i == n)
        return;
    out.truncate(start + i);
    appendConverted(out, text.mid(i));
}

// Each character is looked up in the C library once and then taken from the
// table: a conversion call per cell cost more than the rest of an export's
// work on its text. GBK is a plain character-for-character code, so the
// bytes are the same as those of converting the text in one call.
void GbkEncoder::appendConverted(QByteArray& out, QStringView text) {
    if (!m_codes)
        m_codes = std::make_unique<quint16[]>(0x10000);
    // A GBK character takes at most two bytes, as many as its UTF-16 unit.
    const qsizetype start = out.size();
    const qsizetype n = text.size();
    out.resize(start + 2 * n);
    char* dst = out.data() + start;
    const char16_t* src = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t unit = src[i];
        if (unit < 0x80) {
            *dst++ = static_cast<char>(unit);
            continue;
        }
        if (QChar::isSurrogate(unit)) {
            // Characters beyond the basic plane have no GBK form, and neither
            // has a broken surrogate: one "?" for the pair or the lone unit.
            if (QChar::isHighSurrogate(unit) && i + 1 < n && QChar::isLowSurrogate(src[i + 1]))
                ++i;
            *dst++ = '?';
            continue;
        }
        quint16 code = m_codes[unit];
        if (code == 0)
            code = m_codes[unit] = lookUp(unit);
        if (code == NoGbk) {
            *dst++ = '?';
            continue;
        }
        *dst++ = static_cast<char>(code >> 8);
        *dst++ = static_cast<char>(code & 0xFF);
    }
    out.truncate(dst - out.constData());
}

// glibc's GBK is code page 936, which adds one character to GBK proper: the
// euro sign as the single byte 0x80. GBK proper (Python's gbk codec, and so
// xlrd and pandas) refuses that byte and with it the whole file. Compared over
// every character of the basic plane, the two differ in that character alone;
// every other character past ASCII has two bytes or none.
quint16 GbkEncoder::lookUp(char16_t unit) {
    char* in = reinterpret_cast<char*>(&unit);
    size_t inLeft = 2;
    char bytes[4];
    char* dst = bytes;
    size_t outLeft = sizeof bytes;
    if (iconv(descriptor(m_handle), &in, &inLeft, &dst, &outLeft) == static_cast<size_t>(-1) ||
        dst - bytes != 2)
        return NoGbk;
    return static_cast<quint16>(static_cast<unsigned char>(bytes[0]) << 8 |
                                static_cast<unsigned char>(bytes[1]));
}

QByteArray GbkEncoder::encode(QStringView text) {
    QByteArray out;
    append(out, text);
    return out;
}

QByteArray toGbk(QStringView text) {
    GbkEncoder encoder;
    return encoder.encode(text);
}

namespace {

std::optional<QString> decode(const QByteArray& bytes, const char* from) {
    if (bytes.isEmpty())
        return QString();
    const char* to = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    // Every byte gives at most one UTF-16 unit (GB18030's four bytes give two).
    QByteArray out(bytes.size() * 2, '\0');
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char* dst = out.data();
    size_t outLeft = size_t(out.size());
    const size_t result = iconv(cd, &in, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    if (result == static_cast<size_t>(-1) || inLeft != 0)
        return std::nullopt;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(out.constData()),
                              qsizetype((size_t(out.size()) - outLeft) / 2));
}

} // namespace

std::optional<QString> fromGbk(const QByteArray& bytes) {
    return decode(bytes, "GBK");
}

std::optional<QString> fromGb18030(const QByteArray& bytes) {
    return decode(bytes, "GB18030");
}

} // namespace lists
