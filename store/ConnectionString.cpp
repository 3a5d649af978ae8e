#include "ConnectionString.h"

#include <QStringList>

namespace store {

const QString ConnectionString::kDataSource = QStringLiteral("Data Source");
const QString ConnectionString::kPassword = QStringLiteral("Jet OLEDB:Database Password");

namespace {

struct Property {
    const char* name;
    const char* value; // nullptr: empty, written as two double quotes
};

constexpr Property kStandard[] = {
    {"Provider", "Microsoft.Jet.OLEDB.4.0"},
    {"User ID", "Admin"},
    {"Data Source", "xjrjz.mdb"},
    {"Mode", "Share Deny None"},
    {"Extended Properties", nullptr},
    {"Persist Security Info", "False"},
    {"Jet OLEDB:System database", nullptr},
    {"Jet OLEDB:Registry Path", nullptr},
    {"Jet OLEDB:Database Password", "kvmtr"},
    {"Jet OLEDB:Engine Type", "5"},
    {"Jet OLEDB:Database Locking Mode", "1"},
    {"Jet OLEDB:Global Partial Bulk Ops", "2"},
    {"Jet OLEDB:Global Bulk Transactions", "1"},
    {"Jet OLEDB:New Database Password", nullptr},
    {"Jet OLEDB:Create System Database", "False"},
    {"Jet OLEDB:Encrypt Database", "False"},
    {"Jet OLEDB:Don't Copy Locale on Compact", "False"},
    {"Jet OLEDB:Compact Without Replica Repair", "False"},
    {"Jet OLEDB:SFP", "False"},
};

QString build(const QString& dataSource) {
    QStringList parts;
    for (const Property& p : kStandard) {
        const QString name = QString::fromLatin1(p.name);
        QString value = p.value ? QString::fromLatin1(p.value) : QStringLiteral("\"\"");
        if (name == ConnectionString::kDataSource)
            value = dataSource;
        parts << name + QLatin1Char('=') + value;
    }
    return parts.join(QLatin1Char(';'));
}

} // namespace

QString ConnectionString::standard() { return build(QStringLiteral("xjrjz.mdb")); }

QString ConnectionString::forFile(const QString& path) { return build(path); }

ConnectionString::ConnectionString(const QString& text) {
    for (const QString& part : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        QString value = part.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        m_properties.append({part.left(eq).trimmed(), value});
    }
}

QString ConnectionString::value(const QString& name) const {
    for (const auto& [key, value] : m_properties) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return QString();
}

} // namespace store
