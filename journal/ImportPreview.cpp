#include "ImportPreview.h"

#include <QHash>

namespace journal {

QList<PreviewLine> importPreview(const QList<lists::ImportRow>& rows, const ImportResult& checked) {
    QHash<int, const lists::ImportRow*> byLine;
    for (const lists::ImportRow& row : rows)
        byLine.insert(row.line, &row);
    QList<PreviewLine> lines;
    lines.reserve(checked.refused.size() + checked.passedLines.size());
    for (const RefusedRow& refused : checked.refused) {
        const lists::ImportRow* row = byLine.value(refused.line);
        lines.append({refused.line, row ? row->cells : QStringList(), refused.reason, true});
    }
    for (const int line : checked.passedLines)
        lines.append({line, byLine.value(line)->cells, QStringLiteral("可以导入"), false});
    return lines;
}

QString previewSummary(const ImportResult& checked) {
    const qsizetype all = checked.refused.size() + checked.passedLines.size();
    if (all == 0)
        return QStringLiteral("文件中没有记录。");
    if (checked.refused.isEmpty())
        return QStringLiteral("共 %1 行，都可以导入。").arg(all);
    return QStringLiteral("共 %1 行，其中 %2 行不能导入（列在前面），改好文件后再选择它。")
        .arg(all)
        .arg(checked.refused.size());
}

} // namespace journal
