#pragma once
// The caption of a contact's row wherever contacts are listed: its display name; contacts
// without one (Palm Desktop, most address books) go by the name from its parts, else the
// company, else the first e-mail address.
#include <QString>
#include <QStringList>
#include <initializer_list>

inline QString ContactCaption(const QString& displayName, std::initializer_list<QString> nameParts,
                              const QString& company, std::initializer_list<QString> emails)
{
    if (!displayName.trimmed().isEmpty()) {
        return displayName;
    }
    QStringList parts;
    for (const QString& part : nameParts) {
        if (!part.trimmed().isEmpty()) {
            parts << part.trimmed();
        }
    }
    if (!parts.isEmpty()) {
        return parts.join(QLatin1Char(' '));
    }
    if (!company.trimmed().isEmpty()) {
        return company;
    }
    for (const QString& email : emails) {
        if (!email.trimmed().isEmpty()) {
            return email;
        }
    }
    return QString();
}
