#pragma once

#include "lists/TableSnapshot.h"

#include <QLocale>
#include <QString>

namespace printsample {

// Right-aligned columns hold amounts, which like dates are kept whole.
inline lists::SnapshotColumn column(const QString& title, int width,
                                    Qt::Alignment align = Qt::AlignLeft) {
    lists::SnapshotColumn c;
    c.title = title;
    c.fieldName = title;
    c.width = width;
    c.alignment = align;
    c.footerAlignment = align;
    c.keepWhole = align == Qt::AlignRight;
    return c;
}

inline lists::SnapshotColumn dateColumn(const QString& title, int width) {
    lists::SnapshotColumn c = column(title, width);
    c.keepWhole = true;
    return c;
}

inline lists::SnapshotCell cell(const QString& text,
                                const QColor& background = QColor(255, 255, 255)) {
    lists::SnapshotCell c;
    c.text = text;
    c.isNull = text.isEmpty();
    c.background = background;
    return c;
}

// A cash journal as its window shows it: ten columns, 860 pixels wide, the
// record count and the amount sums in the footer. Odd records carry the pale
// cyan of the two-colour rows.
inline lists::TableSnapshot cashJournal(int entries) {
    using namespace lists;
    TableSnapshot t;
    t.columns = {
        dateColumn(QStringLiteral("日期"), 70),
        column(QStringLiteral("凭证号"), 50),
        column(QStringLiteral("摘要"), 90),
        column(QStringLiteral("明细"), 140),
        column(QStringLiteral("借方"), 90, Qt::AlignRight),
        column(QStringLiteral("贷方"), 90, Qt::AlignRight),
        column(QStringLiteral("余额"), 90, Qt::AlignRight),
        column(QStringLiteral("经办人"), 60),
        column(QStringLiteral("发票单位"), 100),
        column(QStringLiteral("备注"), 80),
    };
    static const QString summaries[] = {QStringLiteral("提现"), QStringLiteral("差旅费"),
                                        QStringLiteral("办公用品"), QStringLiteral("销售收入")};
    static const QString details[] = {
        QStringLiteral("从工商银行提取备用金"), QStringLiteral("张经理出差北京"),
        QStringLiteral("打印纸两箱、墨盒三个"), QStringLiteral("零售门市部收款")};
    qint64 balance = 0;
    for (int i = 0; i < entries; ++i) {
        const QColor background = i % 2 == 0 ? QColor(0xEC, 0xF9, 0xF9) : QColor(Qt::white);
        const bool in = i % 4 == 0 || i % 4 == 3;
        const qint64 amount = 10000 + (i * 7919) % 500000; // cents
        balance += in ? amount : -amount;
        const auto money = [](qint64 cents) {
            return QLocale(QLocale::English).toString(cents / 100.0, 'f', 2);
        };
        t.rows.append({
            cell(QStringLiteral("2005-3-%1").arg(1 + i % 28), background),
            cell(QString::number(100 + i), background),
            cell(summaries[i % 4], background),
            cell(details[i % 4], background),
            cell(in ? money(amount) : QString(), background),
            cell(in ? QString() : money(amount), background),
            cell(money(balance), background),
            cell(i % 2 ? QStringLiteral("李会计") : QStringLiteral("王出纳"), background),
            cell(i % 3 ? QString() : QStringLiteral("北京文化用品有限公司"), background),
            cell(QString(), background),
        });
    }
    t.footer.resize(t.columns.size());
    t.footer[0] = {QStringLiteral("记录数"), FooterKind::StaticText, 0};
    t.footer[1] = {QString::number(entries), FooterKind::Count, double(entries)};
    t.footer[4] = {QStringLiteral("12,345.00"), FooterKind::Sum, 12345};
    t.footer[5] = {QStringLiteral("6,789.00"), FooterKind::Sum, 6789};
    return t;
}

// Three narrow columns: fits any page at full size.
inline lists::TableSnapshot narrowList(int entries) {
    lists::TableSnapshot t;
    t.columns = {column(QStringLiteral("摘要"), 90), column(QStringLiteral("属性"), 50),
                 column(QStringLiteral("备注"), 80)};
    for (int i = 0; i < entries; ++i) {
        t.rows.append(
            {cell(QStringLiteral("摘要%1").arg(i)), cell(QStringLiteral("增加")), cell(QString())});
    }
    t.footer.resize(t.columns.size());
    return t;
}

} // namespace printsample
