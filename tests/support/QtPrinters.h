#pragma once

#include <QString>
#include <ostream>

// Readable Qt texts in test failure reports.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
