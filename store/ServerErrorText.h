#pragma once

#include <QString>

namespace store {

/// The message of a failed statement on a server book as the user reads it:
/// in Chinese by the error's SQLSTATE `code`, naming what the server's
/// `message` names; a message of the system's own (the server functions'
/// failures, which begin with Chinese) is kept as it is. `table` and `detail`
/// are the server's fields of the same names, where it gives them.
QString serverErrorText(const QString& code, const QString& message, const QString& table = {},
                        const QString& detail = {});

/// The reason a connection to a server book failed, from libpq's `message`.
QString serverConnectionErrorText(const QString& message);

} // namespace store
