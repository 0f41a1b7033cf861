#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <cstdint>

// The scalar types of the program's window and command interfaces. Strings
// are QString (UTF-16), so the system code keeps the names it is known by.
using BOOL = int;
using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using CString = QString;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using WORD = std::uint16_t;
// Points and sizes in pixels.
using CPoint = QPoint;
using CSize = QSize;

// A place in one of the framework's lists (templates, documents, views);
// null once the walk has passed the last entry.
struct PositionTag;
using POSITION = PositionTag*;

inline POSITION PositionFromIndex(qsizetype nIndex)
{
    return reinterpret_cast<POSITION>(static_cast<std::uintptr_t>(nIndex) + 1);
}
inline qsizetype IndexFromPosition(POSITION pos)
{
    return static_cast<qsizetype>(reinterpret_cast<std::uintptr_t>(pos)) - 1;
}

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

constexpr UINT LOWORD(WPARAM value)
{
    return static_cast<UINT>(value & 0xFFFF);
}
constexpr UINT HIWORD(WPARAM value)
{
    return static_cast<UINT>((value >> 16) & 0xFFFF);
}
