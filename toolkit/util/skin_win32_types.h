// The Win32 geometry records. The host build declares layout-compatible
// stand-ins so that the portable toolkit code compiles there too.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdint>

using LONG = int32_t;
using LPARAM = intptr_t;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct SIZE {
    LONG cx;
    LONG cy;
};

struct POINT {
    LONG x;
    LONG y;
};
#endif
