#include "PdfTextLayer.h"

#include <QHash>
#include <QRawFont>

namespace lists {

namespace {

constexpr char16_t kFirstRadical = 0x2E80; // CJK Radicals Supplement, then Kangxi Radicals
constexpr char16_t kLastRadical = 0x2FDF;

bool isRadical(char16_t c) {
    return c >= kFirstRadical && c <= kLastRadical;
}

// Each radical that a face draws with the glyph of a unified ideograph, and that ideograph.
QHash<char16_t, char16_t> radicalsSharingGlyphs(const QList<QFont>& fonts) {
    QHash<char16_t, char16_t> found;
    for (const QFont& font : fonts) {
        const QRawFont raw = QRawFont::fromFont(font);
        if (!raw.isValid())
            continue;
        QString radicals;
        for (char16_t c = kFirstRadical; c <= kLastRadical; ++c)
            radicals += QChar(c);
        const QList<quint32> radicalGlyphs = raw.glyphIndexesForString(radicals);
        QHash<quint32, char16_t> wanted;
        for (qsizetype i = 0; i < radicals.size(); ++i) {
            if (i < radicalGlyphs.size() && radicalGlyphs[i] != 0 &&
                !found.contains(radicals[i].unicode()))
                wanted.insert(radicalGlyphs[i], radicals[i].unicode());
        }
        if (wanted.isEmpty())
            continue;
        QString ideographs;
        for (char16_t c = 0x4E00; c <= 0x9FFF; ++c)
            ideographs += QChar(c);
        const QList<quint32> glyphs = raw.glyphIndexesForString(ideographs);
        for (qsizetype i = 0; i < glyphs.size() && !wanted.isEmpty(); ++i) {
            const auto radical = wanted.constFind(glyphs[i]);
            if (radical == wanted.constEnd())
                continue;
            found.insert(radical.value(), ideographs[i].unicode());
            wanted.erase(radical);
        }
    }
    return found;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Rewrites the four-digit code "<XXXX>" at `at` when it names a known radical.
void mendCode(QByteArray& pdf, qsizetype at, const QHash<char16_t, char16_t>& radicals) {
    if (at + 5 >= pdf.size() || pdf[at] != '<' || pdf[at + 5] != '>')
        return;
    int code = 0;
    for (int i = 1; i <= 4; ++i) {
        const int digit = hexValue(pdf[at + i]);
        if (digit < 0)
            return;
        code = code * 16 + digit;
    }
    if (!isRadical(char16_t(code)))
        return;
    const auto ideograph = radicals.constFind(char16_t(code));
    if (ideograph == radicals.constEnd())
        return;
    pdf.replace(at + 1, 4,
                QByteArray::number(ideograph.value(), 16).toUpper().rightJustified(4, '0'));
}

// The destination codes of the sections from `begin` to `finish` between `from` and `to`.
// A "bfchar" entry is a source and a destination code; a "bfrange" entry is two source
// codes and either one destination (the first of a run, left alone unless the run is one
// code long) or an array of destinations.
void mendSections(QByteArray& pdf, const QByteArray& begin, const QByteArray& finish, bool range,
                  qsizetype from, qsizetype to, const QHash<char16_t, char16_t>& radicals) {
    for (qsizetype at = pdf.indexOf(begin, from); at >= 0 && at < to; at = pdf.indexOf(begin, at)) {
        const qsizetype stop = pdf.indexOf(finish, at);
        if (stop < 0 || stop > to)
            return;
        int part = 0; // codes of the entry read so far
        bool inArray = false;
        bool oneCode = false; // the range's two source codes are the same
        QByteArray firstSource;
        for (qsizetype i = at + begin.size(); i < stop; ++i) {
            const char c = pdf[i];
            if (c == '[') {
                inArray = true;
                continue;
            }
            if (c == ']') {
                inArray = false;
                part = 0;
                continue;
            }
            if (c != '<')
                continue;
            const qsizetype close = pdf.indexOf('>', i);
            if (close < 0 || close > stop)
                return;
            if (inArray) {
                mendCode(pdf, i, radicals);
                i = close;
                continue;
            }
            const QByteArray code = pdf.mid(i + 1, close - i - 1);
            ++part;
            if ((!range && part == 2) || (range && part == 3 && oneCode))
                mendCode(pdf, i, radicals);
            if (range && part == 1)
                firstSource = code;
            else if (range && part == 2)
                oneCode = code == firstSource;
            if ((!range && part == 2) || (range && part == 3))
                part = 0;
            i = close;
        }
        at = stop;
    }
}

} // namespace

void mendPdfTextLayer(QByteArray& pdf, const QList<QFont>& fonts) {
    if (!pdf.contains("begincmap"))
        return;
    const QHash<char16_t, char16_t> radicals = radicalsSharingGlyphs(fonts);
    if (radicals.isEmpty())
        return;
    for (qsizetype at = pdf.indexOf("begincmap"); at >= 0; at = pdf.indexOf("begincmap", at)) {
        const qsizetype end = pdf.indexOf("endcmap", at);
        if (end < 0)
            return;
        mendSections(pdf, "beginbfrange", "endbfrange", true, at, end, radicals);
        mendSections(pdf, "beginbfchar", "endbfchar", false, at, end, radicals);
        at = end;
    }
}

} // namespace lists
