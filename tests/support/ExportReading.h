#pragma once

// Readers of exported files for the tests, written apart from the writers.

#include "lists/GbkText.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <cctype>
#include <optional>

namespace exportreading {

/// The rows of a ";"-separated file as a spreadsheet reads them: every value
/// between double quotes with the quotes inside doubled, ";" between values,
/// CR LF between rows outside the quotes; `Text` is QByteArray or QString.
template <typename Text> struct CsvRows {
    QList<QList<Text>> rows;
    QString error; // empty when the whole file read
};

template <typename Text> CsvRows<Text> readCsv(const Text& file) {
    CsvRows<Text> read;
    read.rows.resize(1);
    qsizetype i = 0;
    const auto fail = [&](const char* what) {
        read.error = QStringLiteral("%1 at %2").arg(QLatin1String(what)).arg(i);
        return read;
    };
    while (i < file.size()) {
        if (file[i] != '"')
            return fail("an unquoted value");
        Text value;
        for (++i;; ++i) {
            if (i == file.size())
                return fail("a value without its closing quote");
            if (file[i] == '"') {
                if (i + 1 < file.size() && file[i + 1] == '"') {
                    value += file[i];
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
            value += file[i];
        }
        read.rows.last() << value;
        if (i == file.size())
            break;
        if (file[i] == ';') {
            ++i;
        } else if (file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n') {
            i += 2;
            read.rows.append(QList<Text>());
        } else {
            return fail("neither \";\" nor a line break after a value");
        }
    }
    return read;
}

/// GBK bytes as text, or nothing for bytes that GBK proper does not hold.
/// glibc's converter reads a lone 0x80 as the euro sign, which GBK proper
/// (Python's gbk codec, which xlrd and pandas use) refuses.
inline std::optional<QString> fromGbkProper(const QByteArray& bytes) {
    const std::optional<QString> text = lists::fromGbk(bytes);
    if (!text || text->contains(QChar(0x20AC)))
        return std::nullopt;
    return text;
}

/// An RTF document as a word processor reads it: its groups, control words
/// and the text of each table cell, with \'hh bytes, the escaped "\", "{"
/// and "}", \line as LF, and bare line breaks skipped.
struct RtfRead {
    QList<QList<QByteArray>> rows; // each cell's bytes, row by row
    QMap<QByteArray, int> words;   // the first value of every control word
    QList<int> edges;              // the \cellx of the first row
    QString error;                 // empty for a well-formed document
};

inline RtfRead readRtf(const QByteArray& file) {
    RtfRead read;
    int depth = 0;
    QByteArray cell;
    QList<QByteArray> row;
    qsizetype i = 0;
    const auto fail = [&](const char* what) {
        read.error = QStringLiteral("%1 at byte %2").arg(QLatin1String(what)).arg(i);
        return read;
    };
    for (; i < file.size(); ++i) {
        const char c = file[i];
        if (c == '{') {
            ++depth;
            cell.clear();
        } else if (c == '}') {
            if (depth == 0)
                return fail("a group closes that never opened");
            if (--depth == 0 && i != file.size() - 1)
                return fail("bytes after the document");
        } else if (c == '\\') {
            const char next = i + 1 < file.size() ? file[++i] : '\0';
            if (next == '\\' || next == '{' || next == '}') {
                cell += next;
            } else if (next == '\'') {
                bool ok = false;
                cell += char(file.mid(i + 1, 2).toInt(&ok, 16));
                if (!ok)
                    return fail("a bad \\' escape");
                i += 2;
            } else if (std::isalpha(static_cast<unsigned char>(next))) {
                qsizetype end = i;
                while (end < file.size() && std::isalpha(static_cast<unsigned char>(file[end])))
                    ++end;
                const QByteArray word = file.mid(i, end - i);
                const qsizetype digits = end;
                if (end < file.size() && file[end] == '-')
                    ++end;
                while (end < file.size() && std::isdigit(static_cast<unsigned char>(file[end])))
                    ++end;
                const int value = file.mid(digits, end - digits).toInt();
                if (end < file.size() && file[end] == ' ')
                    ++end; // the blank that ends a control word is part of it
                i = end - 1;
                if (!read.words.contains(word))
                    read.words[word] = value;
                if (word == "pard") {
                    cell.clear();
                } else if (word == "line") {
                    cell += '\n';
                } else if (word == "cell") {
                    row << cell;
                    cell.clear();
                } else if (word == "row") {
                    read.rows << row;
                    row.clear();
                } else if (word == "cellx" && read.rows.isEmpty()) {
                    read.edges << value;
                }
            } else {
                return fail("an unknown control symbol");
            }
        } else if (c != '\r' && c != '\n') {
            cell += c;
        }
    }
    if (depth != 0)
        return fail("groups left open");
    return read;
}

} // namespace exportreading
