#include "platform/hotkeys/VirtualKeySymbols.h"

#define XK_MISCELLANY
#define XK_LATIN1
#include <X11/XF86keysym.h>
#include <X11/keysymdef.h>

#include <utility>

namespace {
// Virtual-key codes and the symbols of their keys. Letters, digits and
// function keys follow in runs and are reckoned below.
constexpr std::pair<unsigned, quint32> kTable[] = {
    {0x08, XK_BackSpace},  {0x09, XK_Tab},          {0x0D, XK_Return},     {0x13, XK_Pause},
    {0x1B, XK_Escape},     {0x20, XK_space},        {0x21, XK_Prior},      {0x22, XK_Next},
    {0x23, XK_End},        {0x24, XK_Home},         {0x25, XK_Left},       {0x26, XK_Up},
    {0x27, XK_Right},      {0x28, XK_Down},         {0x2C, XK_Print},      {0x2D, XK_Insert},
    {0x2E, XK_Delete},     {0x5D, XK_Menu},
    // The numeric keypad, with NumLock on.
    {0x60, XK_KP_0},       {0x61, XK_KP_1},         {0x62, XK_KP_2},       {0x63, XK_KP_3},
    {0x64, XK_KP_4},       {0x65, XK_KP_5},         {0x66, XK_KP_6},       {0x67, XK_KP_7},
    {0x68, XK_KP_8},       {0x69, XK_KP_9},         {0x6A, XK_KP_Multiply}, {0x6B, XK_KP_Add},
    {0x6D, XK_KP_Subtract}, {0x6E, XK_KP_Decimal},  {0x6F, XK_KP_Divide},
    // Media and volume keys.
    {0xA6, XF86XK_Back},   {0xA7, XF86XK_Forward},  {0xA8, XF86XK_Reload}, {0xA9, XF86XK_Stop},
    {0xAA, XF86XK_Search}, {0xAB, XF86XK_Favorites}, {0xAC, XF86XK_HomePage},
    {0xAD, XF86XK_AudioMute}, {0xAE, XF86XK_AudioLowerVolume}, {0xAF, XF86XK_AudioRaiseVolume},
    {0xB0, XF86XK_AudioNext}, {0xB1, XF86XK_AudioPrev}, {0xB2, XF86XK_AudioStop},
    {0xB3, XF86XK_AudioPlay}, {0xB4, XF86XK_Mail},  {0xB5, XF86XK_AudioMedia},
    // Punctuation where a US keyboard has it.
    {0xBA, XK_semicolon},  {0xBB, XK_equal},        {0xBC, XK_comma},      {0xBD, XK_minus},
    {0xBE, XK_period},     {0xBF, XK_slash},        {0xC0, XK_grave},      {0xDB, XK_bracketleft},
    {0xDC, XK_backslash},  {0xDD, XK_bracketright}, {0xDE, XK_apostrophe}, {0xE2, XK_less},
};

constexpr unsigned kVirtualKeyA = 0x41;
constexpr unsigned kVirtualKeyZ = 0x5A;
constexpr unsigned kVirtualKey0 = 0x30;
constexpr unsigned kVirtualKey9 = 0x39;
constexpr unsigned kVirtualKeyF1 = 0x70;
constexpr unsigned kVirtualKeyF24 = 0x87;
}

quint32 KeySymFromVirtualKey(unsigned nVirtualKey)
{
    // Letters are grabbed by their lower-case symbol, the one a key shows
    // without Shift.
    if (nVirtualKey >= kVirtualKeyA && nVirtualKey <= kVirtualKeyZ)
        return XK_a + (nVirtualKey - kVirtualKeyA);
    if (nVirtualKey >= kVirtualKey0 && nVirtualKey <= kVirtualKey9)
        return XK_0 + (nVirtualKey - kVirtualKey0);
    if (nVirtualKey >= kVirtualKeyF1 && nVirtualKey <= kVirtualKeyF24)
        return XK_F1 + (nVirtualKey - kVirtualKeyF1);
    for (const auto& [nCode, nKeySym] : kTable) {
        if (nCode == nVirtualKey)
            return nKeySym;
    }
    return 0;
}
