#pragma once
// The four results a transfer posts to the codeplug view, both parameters 0.
// The numbers are WM_USER + 500 .. 503.
inline constexpr int WM_PAGER_WRITE_OK = 0x5F4;
inline constexpr int WM_PAGER_WRITE_FAILED = 0x5F5;
inline constexpr int WM_PAGER_READ_OK = 0x5F6;
inline constexpr int WM_PAGER_READ_FAILED = 0x5F7;
