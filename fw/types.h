// Basic types and constants of the application framework.
//
// The framework mirrors the shape of a classic desktop dialog framework:
// windows are addressed by opaque handles, talk through numbered messages with
// two parameters, and controls are addressed by their dialog control ID.
#pragma once

#include <cstdint>

namespace fw {

using UINT = unsigned int;
using WPARAM = std::uint64_t;  // wide enough for an event code and a run number
using LPARAM = std::int64_t;
using LRESULT = std::int64_t;
using HWND = std::uint64_t;  // 0 = no window

// Window messages used by the program.
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_USER = 0x0400;

constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_MOUSEMOVE = 0x0200;
// Notifications a control's parent reflects back to a subclassed control:
// its click (wParam's high word STN_CLICKED) and the request for its text
// colour (the result is a COLORREF).
constexpr UINT OCM_COMMAND = 0x2111;
constexpr UINT OCM_CTLCOLORSTATIC = 0x2138;
constexpr UINT STN_CLICKED = 0;

// A colour: 0x00BBGGRR.
using COLORREF = std::uint32_t;
constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }
constexpr unsigned GetRValue(COLORREF c) { return c & 0xFF; }
constexpr unsigned GetGValue(COLORREF c) { return (c >> 8) & 0xFF; }
constexpr unsigned GetBValue(COLORREF c) { return (c >> 16) & 0xFF; }

// A point packed into an LPARAM: x in the low 16 bits, y in the next 16,
// each a signed value.
constexpr LPARAM MakePointParam(int x, int y) {
    return static_cast<LPARAM>(static_cast<std::uint16_t>(x)) |
           (static_cast<LPARAM>(static_cast<std::uint16_t>(y)) << 16);
}
constexpr int PointX(LPARAM l) { return static_cast<std::int16_t>(l & 0xFFFF); }
constexpr int PointY(LPARAM l) { return static_cast<std::int16_t>((l >> 16) & 0xFFFF); }

// Mouse pointers.
enum class Cursor { Arrow, Hand };

// Command identifiers and message box results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Message box styles.
constexpr UINT MB_OK = 0x00;
constexpr UINT MB_YESNO = 0x04;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_TYPEMASK = 0x0F;
constexpr UINT MB_ICONMASK = 0xF0;

// Button notification code carried in the high word of WM_COMMAND's wParam.
constexpr UINT BN_CLICKED = 0;

// Check states.
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

}  // namespace fw
