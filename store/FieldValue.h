#pragma once

#include "Currency.h"
#include "DateTime.h"

#include <QString>
#include <QVariant>

namespace store {

/// How a result column's values are read: from the declared type of the table
/// column it comes from. An expression such as sum(借方) has no declared
/// type; its integer value is read as ten-thousandths, since every amount in
/// the database is stored that way.
enum class FieldType { Unknown, Text, Integer, Counter, Float, Currency, DateTime };

FieldType fieldTypeFromDeclaration(const QString& declaredType);

/// Reading a stored value; a null reads as empty text, 0 or the zero date.
QString valueToString(const QVariant& value, FieldType type);
Currency valueToCurrency(const QVariant& value, FieldType type);
DateTime valueToDateTime(const QVariant& value, FieldType type);
qint64 valueToInteger(const QVariant& value, FieldType type);

/// The value to store for text typed into a field of this type: empty text
/// stores null. Throws EngineError for text the type cannot hold.
QVariant valueFromString(const QString& text, FieldType type);

/// The message for text that a field of this type cannot read, as every field that takes
/// typed text reports it.
QString unreadableValueText(FieldType type, const QString& text);
/// The message for an amount beyond what the currency type holds.
QString amountOutOfRangeText(const QString& text);

} // namespace store
