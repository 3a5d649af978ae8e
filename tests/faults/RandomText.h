#pragma once

// Seeded random texts for the bad-input tests: pieces a parser or a writer
// might trip over, mixed with plain text. A failure names its seed and round,
// so it repeats.

#include <QString>

#include <random>

namespace faults {

class RandomText {
public:
    explicit RandomText(unsigned seed) : m_random(seed) {}

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool chance(int percent) { return number(1, 100) <= percent; }

    /// Any text: quotes, wildcards, separators, markup, control characters,
    /// blanks of every kind, digits of other scripts, Chinese, characters
    /// outside GBK and outside the basic plane; never a lone surrogate.
    QString anyText(int maxLength) {
        QString text;
        const int length = number(0, maxLength);
        while (text.size() < length)
            text += piece();
        return text;
    }

    /// Text built from the characters dates and amounts are written with,
    /// with now and then something else among them.
    QString numericText(int maxLength) {
        static const char16_t alphabet[] = u"0123456789012345-/:., +-,.";
        QString text;
        const int length = number(0, maxLength);
        for (int i = 0; i < length; ++i) {
            if (chance(8))
                text += piece();
            else
                text += QChar(alphabet[number(0, int(std::size(alphabet)) - 2)]);
        }
        return text;
    }

    /// A run of digits, long enough now and then to overflow anything.
    QString digits(int maxLength) {
        QString text;
        const int length = number(1, maxLength);
        for (int i = 0; i < length; ++i)
            text += QChar(u'0' + number(0, 9));
        return text;
    }

    std::mt19937& engine() { return m_random; }

private:
    QString piece() {
        static const char16_t* const pieces[] = {
            u"'",  u"''", u"\"", u"%",  u"_",  u";",  u",",  u"\t", u"\r\n", u"\n", u"\r",
            u"\\", u"{",  u"}",  u"<",  u">",  u"&",  u"&amp", u"--", u"/*", u"*/", u"|",
            u"\x01", u"\x1b", u"\x7f", u"\u00a0", u"\u3000", u"\u2028", u"\ufeff", u"\ufffd",
            u"\u0663", u"\uff11", u"\u00e9", u"\u0915", u"\ud55c", u"\u20ac",
            u"\U0001F600", u"\U00020000", u"现金", u"摘要", u"銀行", u"Ab", u"zZ", u"0", u"9",
            u" ", u"x",
        };
        if (chance(30))
            return QChar(u'a' + number(0, 25));
        if (chance(10)) // any code point of the basic plane but a surrogate
            return QChar(char16_t(number(1, 0xD7FF)));
        return QString::fromUtf16(pieces[number(0, int(std::size(pieces)) - 1)]);
    }

    std::mt19937 m_random;
};

} // namespace faults
