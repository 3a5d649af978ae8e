#pragma once

#include <QString>

namespace testing_support {

/// A file of tests/data, the files made by other programs that tests read.
inline QString dataFile(const char* name) {
    return QStringLiteral(TALLOMER_TEST_DATA "/") + QString::fromUtf8(name);
}

} // namespace testing_support
