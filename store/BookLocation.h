#pragma once

#include <QString>

namespace store {

/// Whether a book's name is a PostgreSQL connection string or URI
/// ("postgresql://cashier@server/company", "host=server dbname=company")
/// rather than the path of a book file.
bool isServerBook(const QString& name);

/// The name of the one-line file beside a book file that puts the book on a
/// server instead: "xjrjz.mdb" -> "xjrjz.server".
QString serverLineFile(const QString& bookFile);

/// The book the program opens where its book file is `bookFile`: the
/// connection string in the environment variable TALLOMER_BOOK, else the one
/// line of serverLineFile(bookFile) when that file exists, else the file.
/// Throws EngineError when the line file cannot be read or names no server.
QString programBook(const QString& bookFile);

/// How a book is named to the user: a file as it is, a server book as its
/// connection string without any password in it.
QString shownBookName(const QString& name);

} // namespace store
