// Registration as an AutoPlay handler for music files.
#pragma once

#include <windows.h>

// True when the file class key "VelmorisPlayer" opens under HKEY_CLASSES_ROOT.
bool isAutoplayRegistered();
// True when the process token is an enabled member of the built-in Administrators group.
bool isUserAdmin();
// Writes the file class and the handler entries; stops at the first failure (no rollback).
bool registerAutoplay();
// Removes every entry; true when the class key under HKEY_CLASSES_ROOT was deleted.
bool unregisterAutoplay();
// The menu command: registers or unregisters, and tells the user what went wrong.
void toggleAutoplayRegistration();
