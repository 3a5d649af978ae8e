#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QString>

#include <gtest/gtest.h>

namespace testing_support {

/// The text of a PDF file as a reader finds it (pdftotext), laid out as on the page.
inline QString pdfText(const QString& pdf) {
    const QString reader = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    EXPECT_FALSE(reader.isEmpty()) << "pdftotext (poppler-utils) is missing: run scripts/setup";
    QProcess process;
    process.start(reader, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

/// The words of a text: what stands between blanks and line ends.
inline QSet<QString> wordsOf(const QString& text) {
    const QStringList words =
        text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    return QSet<QString>(words.begin(), words.end());
}

} // namespace testing_support
