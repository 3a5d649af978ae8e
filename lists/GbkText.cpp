#include "GbkText.h"

#include <QSysInfo>

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <stdexcept>

namespace lists {

namespace {

iconv_t descriptor(void* handle) {
    return static_cast<iconv_t>(handle);
}

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
    // as it is: copy those without going through iconv.
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

// glibc's GBK is code page 936, which adds one character to GBK proper: the
// euro sign as the single byte 0x80. GBK proper (Python's gbk codec, and so
// xlrd and pandas) refuses that byte and with it the whole file. Compared over
// every character of the basic plane, the two differ in that character alone.
namespace {
constexpr char16_t EuroSign = 0x20AC;
} // namespace

void GbkEncoder::appendConverted(QByteArray& out, QStringView text) {
    for (qsizetype euro = text.indexOf(QChar(EuroSign)); euro >= 0;
         euro = text.indexOf(QChar(EuroSign))) {
        appendConvertible(out, text.left(euro));
        out.append('?');
        text = text.mid(euro + 1);
    }
    appendConvertible(out, text);
}

void GbkEncoder::appendConvertible(QByteArray& out, QStringView text) {
    if (text.isEmpty())
        return;
    // A GBK character takes at most two bytes and a UTF-16 unit at least
    // one character's worth, so twice the units always suffices.
    const qsizetype start = out.size();
    out.resize(start + 2 * text.size());
    char* in = const_cast<char*>(reinterpret_cast<const char*>(text.utf16()));
    size_t inLeft = static_cast<size_t>(text.size()) * 2;
    char* dst = out.data() + start;
    size_t outLeft = static_cast<size_t>(text.size()) * 2;
    const iconv_t cd = descriptor(m_handle);
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen with the size above; keep what was written
        // EILSEQ (no GBK form, or a broken surrogate) or EINVAL (a lone high
        // surrogate at the end): one "?" for the whole character.
        char16_t unit;
        memcpy(&unit, in, 2);
        size_t skip = 2;
        if (QChar::isHighSurrogate(unit) && inLeft >= 4) {
            char16_t next;
            memcpy(&next, in + 2, 2);
            if (QChar::isLowSurrogate(next))
                skip = 4;
        }
        in += skip;
        inLeft -= skip;
        *dst++ = '?';
        --outLeft;
    }
    out.truncate(dst - out.constData());
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

} // namespace lists
