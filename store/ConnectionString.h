#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace store {

/// The property list of a connection: "Name=Value" pairs joined by ";".
/// Of all the properties the engine reads only the file and its password.
class ConnectionString {
public:
    static const QString kDataSource;
    static const QString kPassword;

    /// The fixed connection string of the data module.
    static QString standard();
    /// The standard string with another database file.
    static QString forFile(const QString& path);

    explicit ConnectionString(const QString& text);

    /// A property's value, the name compared without regard to case; an empty
    /// value written as two double quotes reads as empty.
    QString value(const QString& name) const;
    QString dataSource() const { return value(kDataSource); }
    QString password() const { return value(kPassword); }

private:
    QList<QPair<QString, QString>> m_properties;
};

} // namespace store
