#pragma once

#include <QString>

// Quotes a text for an SQL statement, doubling single quotes so that user text such as
// O'Brien "A" is stored exactly as typed.
inline QString sqlText(const QString& text) {
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}
