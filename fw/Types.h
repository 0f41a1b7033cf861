#pragma once

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

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

constexpr UINT LOWORD(WPARAM value) { return static_cast<UINT>(value & 0xFFFF); }
constexpr UINT HIWORD(WPARAM value) { return static_cast<UINT>((value >> 16) & 0xFFFF); }
