#include "SheetCells.h"

#include "store/Currency.h"

#include <QDate>
#include <QTime>

#include <algorithm>
#include <cmath>

namespace lists {

bool SheetGrid::put(int row, int column, const QString& text, QString* problem) {
    if (column >= kMaxSheetColumns) {
        *problem = QStringLiteral("第 %1 行第 %2 列超出工作表的 %3 列")
                       .arg(row + 1)
                       .arg(column + 1)
                       .arg(kMaxSheetColumns);
        return false;
    }
    const qsizetype height = std::max(m_rows.size(), qsizetype(row) + 1);
    const qsizetype width = std::max(m_width, qsizetype(column) + 1);
    if (height * width > m_budget) {
        *problem =
            QStringLiteral("工作表有 %1 行 %2 列，远多于文件中的单元格").arg(height).arg(width);
        return false;
    }
    m_width = width;
    if (m_rows.size() <= row) {
        // Rows come one by one: room for many at a time, not one more each.
        if (m_rows.capacity() <= row)
            m_rows.reserve(std::max(height, 2 * m_rows.capacity()));
        m_rows.resize(row + 1);
    }
    QStringList& cells = m_rows[row];
    while (cells.size() <= column)
        cells.append(QString());
    cells[column] = text;
    return true;
}

QString sheetNumberText(double value) {
    const double scaled = std::round(value * store::Currency::kScale);
    if (!std::isfinite(scaled) || std::fabs(scaled) > 9.2e18)
        return QString::number(value, 'g', 17);
    return store::Currency::fromRaw(static_cast<qint64>(scaled)).toString();
}

QString sheetDateText(double serial, bool from1904) {
    // Beyond the year 9999 of the worksheets; a time of day is never negative.
    if (!std::isfinite(serial) || serial < 0 || serial > 2958466)
        return QString();
    double days = std::floor(serial);
    // Seconds rounded, as the spreadsheets show them; 23:59:59.6 is the next day.
    qint64 seconds = std::llround((serial - days) * 86400.0);
    if (seconds >= 86400) {
        days += 1;
        seconds -= 86400;
    }
    QDate date;
    if (from1904)
        date = QDate(1904, 1, 1).addDays(qint64(days));
    else if (days >= 61)
        date = QDate(1899, 12, 30).addDays(qint64(days));
    else if (days >= 1 && days != 60)
        date = QDate(1899, 12, 31).addDays(qint64(days)); // before the phantom day
    if (!date.isValid())
        return QString();
    QString text = date.toString(QStringLiteral("yyyy-MM-dd"));
    if (seconds > 0)
        text += QTime(0, 0).addSecs(int(seconds)).toString(QStringLiteral(" HH:mm:ss"));
    return text;
}

} // namespace lists
