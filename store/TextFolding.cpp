#include "TextFolding.h"

#include <QChar>

namespace store {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Reads one code point of UTF-8 and advances; a malformed byte reads as U+FFFD.
char32_t nextCodePoint(const unsigned char*& p, const unsigned char* end) {
    const unsigned char lead = *p++;
    if (lead < 0x80)
        return lead;
    int more = 0;
    char32_t c = 0;
    if ((lead & 0xE0) == 0xC0) {
        more = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3;
        c = lead & 0x07;
    } else {
        return kReplacement;
    }
    const unsigned char* q = p;
    for (int i = 0; i < more; ++i, ++q) {
        if (q == end || (*q & 0xC0) != 0x80)
            return kReplacement;
        c = (c << 6) | (*q & 0x3F);
    }
    p = q;
    return c > 0x10FFFF ? kReplacement : c;
}

char32_t foldedAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

} // namespace

char32_t foldedCase(char32_t codePoint) {
    if (codePoint < 0x80)
        return foldedAscii(static_cast<unsigned char>(codePoint));
    return QChar::toCaseFolded(codePoint);
}

bool lowersAsFolded(char32_t codePoint) {
    if (codePoint < 0x80)
        return true;
    if (codePoint == 0x130) // the C library lowers İ to i, Qt keeps it
        return false;
    return QChar::toLower(codePoint) == foldedCase(codePoint);
}

std::u32string foldedCodePoints(const char* utf8, int bytes) {
    std::u32string out;
    out.reserve(std::size_t(bytes));
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    const unsigned char* end = p + bytes;
    while (p < end)
        out.push_back(foldedCase(nextCodePoint(p, end)));
    return out;
}

std::u32string foldedCodePoints(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return foldedCodePoints(utf8.constData(), int(utf8.size()));
}

QString fromCodePoints(const std::u32string& codePoints) {
    return QString::fromUcs4(codePoints.data(), qsizetype(codePoints.size()));
}

int compareFolded(const char* a, int aBytes, const char* b, int bBytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(a);
    const auto* q = reinterpret_cast<const unsigned char*>(b);
    const unsigned char* pEnd = p + aBytes;
    const unsigned char* qEnd = q + bBytes;
    // Equal bytes fold alike: an index search compares texts that share
    // their start, mostly Chinese. Resume at the character they differ in.
    int same = 0;
    const int shorter = aBytes < bBytes ? aBytes : bBytes;
    while (same < shorter && p[same] == q[same])
        ++same;
    const auto continues = [](const unsigned char* s, int at, int bytes) {
        return at < bytes && (s[at] & 0xC0) == 0x80;
    };
    while (same > 0 && (continues(p, same, aBytes) || continues(q, same, bBytes)))
        --same;
    p += same;
    q += same;
    while (p < pEnd && q < qEnd) {
        char32_t x;
        char32_t y;
        if (*p < 0x80 && *q < 0x80) { // the usual case, without decoding
            x = foldedAscii(*p++);
            y = foldedAscii(*q++);
        } else {
            x = foldedCase(nextCodePoint(p, pEnd));
            y = foldedCase(nextCodePoint(q, qEnd));
        }
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (p < pEnd)
        return 1;
    return q < qEnd ? -1 : 0;
}

bool hasFoldingBeyondAscii(const QString& text) {
    for (const char32_t c : text.toStdU32String()) {
        if (c >= 0x80 && foldedCase(c) != c)
            return true;
    }
    return false;
}

bool likeFolded(const std::u32string& pattern, const std::u32string& text, char32_t escape) {
    // Matching with one point to return to: the last "%" seen and where the
    // text stood then. A later "%" makes the earlier one unnecessary.
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t starP = std::u32string::npos;
    std::size_t starT = 0;
    while (t < text.size()) {
        if (p < pattern.size()) {
            const char32_t c = pattern[p];
            if (c == U'%' && c != escape) {
                while (p < pattern.size() && pattern[p] == U'%')
                    ++p;
                if (p == pattern.size())
                    return true;
                starP = p;
                starT = t;
                continue;
            }
            if (c == U'_' && c != escape) {
                ++p;
                ++t;
                continue;
            }
            std::size_t literal = p;
            if (escape && c == escape && p + 1 < pattern.size())
                literal = p + 1;
            if (pattern[literal] == text[t]) {
                p = literal + 1;
                ++t;
                continue;
            }
        }
        if (starP == std::u32string::npos)
            return false;
        p = starP;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == U'%' && pattern[p] != escape)
        ++p;
    return p == pattern.size();
}

QString upperCaseLatin(QString text) {
    for (QChar& c : text) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return text;
}

} // namespace store
