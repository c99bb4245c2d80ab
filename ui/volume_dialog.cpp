#include "ui/volume_dialog.h"

INT_PTR CALLBACK volumeDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
void placeWindowAtCursor(HWND) {}
