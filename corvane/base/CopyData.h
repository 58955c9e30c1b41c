// WM_COPYDATA to a window of another program of the suite.  The sender waits
// for the receiver at most ten seconds: a program that stops answering does
// not stop this one too.
#pragma once
#include <windows.h>

inline void SendCopyDataMessage(HWND window, WPARAM sender, const COPYDATASTRUCT& data)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window, WM_COPYDATA, sender, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 10000, &result);
}
