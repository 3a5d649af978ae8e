#include "CopiedRows.h"

#include <QRegularExpression>

namespace lists {

namespace {

void appendLine(QString& text, const QStringList& cells) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|[\t\r\n]"));
    for (qsizetype c = 0; c < cells.size(); ++c) {
        if (c > 0)
            text += QLatin1Char('\t');
        QString cell = cells[c];
        text += cell.replace(breaks, QStringLiteral(" "));
    }
    text += QLatin1Char('\n');
}

} // namespace

QString tabSeparatedRows(const QStringList& titles, const QList<QStringList>& rows) {
    QString text;
    appendLine(text, titles);
    for (const QStringList& row : rows)
        appendLine(text, row);
    return text;
}

} // namespace lists
