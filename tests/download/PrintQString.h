#pragma once

#include <QString>
#include <ostream>

// Lets GoogleTest show a QString as text when an expectation fails.
inline void PrintTo(const QString& text, std::ostream* pStream)
{
    *pStream << '"' << text.toStdString() << '"';
}
