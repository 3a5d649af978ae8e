#include "DBNumberEdit.h"

#include "store/EngineError.h"

#include <QFocusEvent>
#include <QRegularExpressionValidator>

namespace ui {

using store::Currency;

DBNumberEdit::DBNumberEdit(QWidget* parent)
    : DBEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral(R"(\s*[-+]?[0-9,]*\.?[0-9]*\s*)")), this));
}

std::optional<Currency> DBNumberEdit::value() const {
    try {
        return Currency::parse(text());
    } catch (const store::CurrencyOverflow&) {
        return std::nullopt;
    }
}

QString DBNumberEdit::textFor(const store::Field& field) const {
    if (field.isNull())
        return QString();
    Currency amount;
    try {
        amount = field.asCurrency();
    } catch (const store::CurrencyOverflow&) {
        return field.asString();
    }
    if (!m_focused)
        return amount.format(2, true);
    // Editing shows every decimal the amount has, at least two.
    return amount.raw() % 100 == 0 ? amount.format(2) : amount.toString();
}

void DBNumberEdit::writeText(store::Field& field, const QString& text) {
    if (text.trimmed().isEmpty()) {
        field.clear();
        return;
    }
    std::optional<Currency> amount;
    try {
        amount = Currency::parse(text);
    } catch (const store::CurrencyOverflow&) {
        throw store::EngineError(store::amountOutOfRangeText(text));
    }
    if (!amount)
        throw store::EngineError(store::unreadableValueText(store::FieldType::Currency, text));
    field.setCurrency(*amount);
}

void DBNumberEdit::focusInEvent(QFocusEvent* event) {
    if (event->reason() != Qt::PopupFocusReason) {
        m_focused = true;
        if (!fieldLink().isModified())
            fieldLink().refresh(); // before the base class selects the text
    }
    DBEdit::focusInEvent(event);
}

void DBNumberEdit::focusOutEvent(QFocusEvent* event) {
    if (event->reason() != Qt::PopupFocusReason) {
        m_focused = false;
        DBEdit::focusOutEvent(event); // writes a pending amount
        if (!fieldLink().isModified())
            fieldLink().refresh();
        return;
    }
    DBEdit::focusOutEvent(event);
}

} // namespace ui
