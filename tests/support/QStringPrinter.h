#pragma once
#include <QString>
#include <ostream>

// GoogleTest prints a QString in a failure message as its text in quotes.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
