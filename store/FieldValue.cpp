#include "FieldValue.h"

#include "EngineError.h"

#include <cmath>

namespace store {

FieldType fieldTypeFromDeclaration(const QString& declaredType) {
    const QString t = declaredType.toUpper();
    if (t.isEmpty())
        return FieldType::Unknown;
    if (t.contains(QLatin1String("CURRENCY")))
        return FieldType::Currency;
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME")))
        return FieldType::DateTime;
    if (t.contains(QLatin1String("INT")))
        return FieldType::Integer;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")) ||
        t.contains(QLatin1String("CLOB")))
        return FieldType::Text;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) ||
        t.contains(QLatin1String("DOUB")))
        return FieldType::Float;
    return FieldType::Unknown;
}

namespace {

bool isIntegral(const QVariant& v) { return v.typeId() == QMetaType::LongLong; }

} // namespace

QString valueToString(const QVariant& value, FieldType type) {
    if (value.isNull())
        return QString();
    switch (type) {
    case FieldType::Currency:
        return valueToCurrency(value, type).toString();
    case FieldType::DateTime:
        return valueToDateTime(value, type).toString();
    case FieldType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        if (value.typeId() == QMetaType::Double)
            return QString::number(value.toDouble(), 'g', 15);
        return value.toString();
    }
}

Currency valueToCurrency(const QVariant& value, FieldType type) {
    if (value.isNull())
        return Currency();
    if (value.typeId() == QMetaType::QString) {
        try {
            return Currency::parse(value.toString()).value_or(Currency());
        } catch (const CurrencyOverflow&) {
            return Currency();
        }
    }
    if (isIntegral(value)) {
        if (type == FieldType::Currency || type == FieldType::Unknown)
            return Currency::fromRaw(value.toLongLong());
        return Currency::fromUnits(value.toLongLong());
    }
    const double scaled = std::round(value.toDouble() * Currency::kScale);
    if (!(std::fabs(scaled) < 9.2e18))
        throw CurrencyOverflow();
    return Currency::fromRaw(qint64(scaled));
}

DateTime valueToDateTime(const QVariant& value, FieldType) {
    if (value.isNull())
        return DateTime();
    if (value.typeId() == QMetaType::QString)
        return DateTime::parse(value.toString()).value_or(DateTime());
    return DateTime::fromSerial(value.toDouble());
}

qint64 valueToInteger(const QVariant& value, FieldType type) {
    if (value.isNull())
        return 0;
    if (type == FieldType::Currency)
        return value.toLongLong() / Currency::kScale;
    if (value.typeId() == QMetaType::Double)
        return qint64(value.toDouble());
    return value.toLongLong();
}

QVariant valueFromString(const QString& text, FieldType type) {
    switch (type) {
    case FieldType::Currency: {
        if (text.trimmed().isEmpty())
            return QVariant();
        std::optional<Currency> amount;
        try {
            amount = Currency::parse(text);
        } catch (const CurrencyOverflow&) {
            throw EngineError(amountOutOfRangeText(text));
        }
        if (!amount)
            throw EngineError(unreadableValueText(type, text));
        return QVariant(qlonglong(amount->raw()));
    }
    case FieldType::DateTime: {
        if (text.trimmed().isEmpty())
            return QVariant();
        const auto date = DateTime::parse(text);
        if (!date)
            throw EngineError(unreadableValueText(type, text));
        return QVariant(date->serial());
    }
    case FieldType::Integer:
    case FieldType::Counter: {
        if (text.trimmed().isEmpty())
            return QVariant();
        bool ok = false;
        const qlonglong n = text.trimmed().toLongLong(&ok);
        if (!ok)
            throw EngineError(unreadableValueText(type, text));
        return QVariant(n);
    }
    case FieldType::Float: {
        if (text.trimmed().isEmpty())
            return QVariant();
        bool ok = false;
        const double d = text.trimmed().toDouble(&ok);
        if (!ok)
            throw EngineError(unreadableValueText(type, text));
        return QVariant(d);
    }
    default:
        return QVariant(text);
    }
}

QString unreadableValueText(FieldType type, const QString& text) {
    switch (type) {
    case FieldType::Currency:
        return QStringLiteral("“%1”不是有效的金额").arg(text);
    case FieldType::DateTime:
        return QStringLiteral("“%1”不是有效的日期").arg(text);
    case FieldType::Integer:
    case FieldType::Counter:
        return QStringLiteral("“%1”不是有效的整数").arg(text);
    default:
        return QStringLiteral("“%1”不是有效的数值").arg(text);
    }
}

QString amountOutOfRangeText(const QString& text) {
    return QStringLiteral("“%1”超出了金额的范围").arg(text);
}

} // namespace store
