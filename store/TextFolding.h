#pragma once

#include <QString>

#include <string>

namespace store {

/// Letter case as every text comparison of the engine sees it: each cased
/// letter of Unicode (é/É, full-width ｐ/Ｐ, Greek, Cyrillic ...) folded to one
/// form, one code point for one, so a prefix of a text folds to a prefix of
/// its folded form.
char32_t foldedCase(char32_t codePoint);

/// Whether lower-casing the letter gives its folded form, as for all but a
/// few: µ, ſ, final ς, the Greek symbol forms, Cherokee, İ and some more
/// lower to themselves or elsewhere. A server book compares lower-cased text
/// (the C library's lower case, which is Qt's but for İ), so for these it
/// tells apart what a file book takes as one.
bool lowersAsFolded(char32_t codePoint);

/// The text as UTF-32 with every letter folded; invalid UTF-8 reads as U+FFFD.
std::u32string foldedCodePoints(const char* utf8, int bytes);
std::u32string foldedCodePoints(const QString& text);
QString fromCodePoints(const std::u32string& codePoints);

/// Orders two UTF-8 texts by their folded code points; texts equal but for
/// letter case compare equal. For texts without cased letters beyond ASCII
/// this is exactly SQLite's own NOCASE order.
int compareFolded(const char* a, int aBytes, const char* b, int bBytes);

/// Letters a to z in upper case, every other character as it is: what the
/// upper-case fields (passwords, some search criteria) turn typed text into.
QString upperCaseLatin(QString text);

/// Whether the text holds a letter beyond ASCII whose folded form differs.
bool hasFoldingBeyondAscii(const QString& text);

/// SQL's LIKE over folded code points: "%" any run, "_" any one character,
/// `escape` (when not 0) takes the next pattern character literally.
bool likeFolded(const std::u32string& pattern, const std::u32string& text, char32_t escape);

} // namespace store
