#include "playlist/add_media.h"

int openFilesFilterIndex;

int openCommandLinePaths() { return COMMAND_LINE_NOTHING; }
bool isAudioFileName(const wchar_t*) { return false; }
int addFolder(const wchar_t*) { return 0; }
void openFilesDialog(HWND) {}
void openFolderDialog(HWND) {}
int CALLBACK browseFolderCallback(HWND, UINT, LPARAM, LPARAM) { return 0; }
