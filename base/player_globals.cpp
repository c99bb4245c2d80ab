#include "base/player_globals.h"

const wchar_t programTitle[] = L"Velmoris Player";
const wchar_t mainWindowClassName[] = L"VELMORIS_PLAYER_MAIN";
const wchar_t seekWindowClassName[] = L"VELMORIS_PLAYER_SEEK";

HINSTANCE instanceHandle;
UINT taskbarCreatedMessage;
int modalDialogOpen;
