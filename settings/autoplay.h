// Registration as an AutoPlay handler for music files.
#pragma once

// True when the file class key "VelmorisPlayer" opens under HKEY_CLASSES_ROOT.
bool isAutoplayRegistered();
void toggleAutoplayRegistration();
