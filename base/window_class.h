// The player's window classes: its icon, the arrow cursor and a background of their own.
#pragma once

#include <windows.h>

bool registerPlayerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HBRUSH background);
