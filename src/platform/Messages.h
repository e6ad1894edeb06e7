#pragma once
// Numbered messages exchanged between the link, the frame and the pages. The numbers are part of
// the program's contract (pages, the frame monitor and peers depend on them), so never renumber.
#include <QtGlobal>

namespace vmc {

using WPARAM = quintptr;
using LPARAM = qintptr;
using LRESULT = qintptr;

inline constexpr unsigned WM_CLOSE = 0x0010;
inline constexpr unsigned WM_TIMER = 0x0113;
inline constexpr unsigned WM_USER = 0x0400;

enum : unsigned {
    WM_TREE_DEVICE = 0x401,
    WM_HART_COMSTATE = 0x402,
    WM_HART_STATUSCODE = 0x403,
    WM_HART_STATUSRESET = 0x404,
    WM_HART_RECEIVE = 0x405,
    WM_HART_FAIL = 0x406,
    WM_TREE_CHECK = 0x407,
    WM_TREE_RENAME = 0x409,
    WM_TREE_UNCHECK = 0x40A,
    WM_SHEET_READ = 0x40B,
    WM_SHEET_WRITE = 0x40C,
    WM_HART_FRAME = 0x40D,
    WM_AUTOCAL_NEXT = 0x40E,
    WM_AUTOCAL_SYNC = 0x412,
    WM_HART_CONNECT = 0x41B,
    WM_COMM_RECEIVE = 0x464,
};

// Frame monitor records (sent to the "FrameDebug" endpoint).
enum : unsigned {
    WM_FRAMEDEBUG_REQ_COMMAND = 1045,
    WM_FRAMEDEBUG_REQ_SIZE = 1046,
    WM_FRAMEDEBUG_REQ_BYTE = 1047,
    WM_FRAMEDEBUG_RSP_SIZE = 1048,
    WM_FRAMEDEBUG_RSP_BYTE = 1049,
};
inline constexpr LPARAM kFrameDebugEndMark = 9999;

// Link -> owner notices that have no number of their own in the window protocol; kept apart from
// the public range so no page mistakes them for one of its messages.
enum : unsigned {
    WM_HART_COMMERRORBYTE = 0x7F01, // wParam: device-reported communication-error byte
    WM_HART_SHOWCOMMERROR = 0x7F02, // sent; returns when the error box is closed
    WM_HART_UNKNOWNCMD = 0x7F03,    // sent; wParam: command without a layout
};

// wParam values of WM_HART_CONNECT.
enum : unsigned {
    HART_CONNECTED = 1,
    HART_DISCONNECTED = 2,
    HART_PORT_LOST = 3, // the port went away under the link (adapter unplugged, pty closed)
};

} // namespace vmc
