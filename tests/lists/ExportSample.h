#pragma once

#include "lists/TableSnapshot.h"

#include <QBuffer>
#include <QByteArray>

#include <functional>

namespace exportsample {

// GBK bytes of the sample's Chinese texts, taken from an encoder other than
// the one under test; each is named by its text's pinyin.
inline const QByteArray riqi("\xC8\xD5\xC6\xDA");
inline const QByteArray zhaiyao("\xD5\xAA\xD2\xAA");
inline const QByteArray beizhu("\xB1\xB8\xD7\xA2");
inline const QByteArray bianhao("\xB1\xE0\xBA\xC5");
inline const QByteArray jiefang("\xBD\xE8\xB7\xBD");
inline const QByteArray jilushu("\xBC\xC7\xC2\xBC\xCA\xFD");
inline const QByteArray shou("\xCA\xD5");
inline const QByteArray kuan("\xBF\xEE");
inline const QByteArray qian("\x9C\x5C");  // second byte "\"
inline const QByteArray ping("\x91\x7B");  // second byte "{"
inline const QByteArray sheng("\xC2\x7D"); // second byte "}"
inline const QByteArray songti("\xCB\xCE\xCC\xE5");

// A cash-journal-like list: a title row, two records with the two-colour
// backgrounds and a footer with a static text, a count and a sum.
// The fourth column is an integer, the fifth an amount in red Arial; the
// third has no field.
inline lists::TableSnapshot sample() {
    using namespace lists;
    TableSnapshot t;
    t.buttonFace = QColor(240, 240, 240);
    t.titleFont.bold = true;
    const auto column = [](const char* title, const char* field, int width, Qt::Alignment align,
                           CellKind kind, FooterKind footer) {
        SnapshotColumn c;
        c.title = QString::fromUtf8(title);
        c.fieldName = QString::fromUtf8(field);
        c.width = width;
        c.alignment = align;
        c.kind = kind;
        c.footerKind = footer;
        c.footerAlignment = align;
        return c;
    };
    t.columns = {
        column("日期", "日期", 80, Qt::AlignLeft, CellKind::Text, FooterKind::StaticText),
        column("摘要", "摘要", 120, Qt::AlignLeft, CellKind::Text, FooterKind::Count),
        column("备注", "", 60, Qt::AlignLeft, CellKind::Text, FooterKind::None),
        column("编号", "编号", 50, Qt::AlignRight, CellKind::Integer, FooterKind::None),
        column("借方", "借方", 90, Qt::AlignRight, CellKind::Number, FooterKind::Sum),
    };
    t.columns[4].font.family = QStringLiteral("Arial");
    t.columns[4].font.color = QColor(255, 0, 0);

    const auto text = [](const char* s, const QColor& bg) {
        SnapshotCell c;
        c.text = QString::fromUtf8(s);
        c.isNull = false;
        c.background = bg;
        return c;
    };
    const auto null = [](const QColor& bg) {
        SnapshotCell c;
        c.background = bg;
        return c;
    };
    const QColor cyan(236, 249, 249);
    const QColor white(255, 255, 255);
    SnapshotCell seven = text("7", cyan);
    seven.integer = 7;
    SnapshotCell amount = text("1,234.50", cyan);
    amount.number = 1234.5;
    SnapshotCell minusThree = text("-3", white);
    minusThree.integer = -3;
    t.rows = {
        {text("2024-3-1", cyan), text("收\"款\" & <淺>", cyan), null(cyan), seven, amount},
        {text("2024-3-2", white), text("{憑\\聖}", white), null(white), minusThree, null(white)},
    };

    const auto footer = [](const char* s, FooterKind kind, double number) {
        SnapshotFooterCell f;
        f.text = QString::fromUtf8(s);
        f.kind = kind;
        f.number = number;
        return f;
    };
    t.footer = {footer("记录数", FooterKind::StaticText, 0), footer("2", FooterKind::Count, 2),
                footer("", FooterKind::None, 0), footer("", FooterKind::None, 0),
                footer("1,234.50", FooterKind::Sum, 1234.5)};
    return t;
}

// What a writer puts into an in-memory device.
inline QByteArray written(const std::function<void(QIODevice&)>& write) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    write(buffer);
    return buffer.data();
}

} // namespace exportsample
