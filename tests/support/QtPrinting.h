#pragma once

#include <QString>

#include <ostream>

// Failures show texts as text (and lists of texts as lists of them) instead
// of as bytes. Include it in every file of a test program that compares
// texts, or the printers the files instantiate differ.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
