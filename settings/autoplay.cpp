#include "settings/autoplay.h"

#include <windows.h>

bool isAutoplayRegistered()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"VelmorisPlayer", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void toggleAutoplayRegistration() {}
