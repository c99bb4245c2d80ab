#include "settings/autoplay.h"

#include <wchar.h>

#include "base/player_globals.h"
#include "base/report.h"
#include "base/wide_text.h"

static const wchar_t classKeyName[] = L"VelmorisPlayer";
static const wchar_t machineClassKeyName[] = L"SOFTWARE\\Classes\\VelmorisPlayer";
static const wchar_t handlerName[] = L"VelmorisPlayerPlayMusicFilesOnArrival";

// The handler entries go under both paths, whichever physical keys the system maps them to.
struct HandlerKeys {
    const wchar_t* eventHandlers;
    const wchar_t* handler;
};

static const HandlerKeys handlerKeys[] = {
    {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers\\EventHandlers\\"
     L"PlayMusicFilesOnArrival",
     L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers\\Handlers\\"
     L"VelmorisPlayerPlayMusicFilesOnArrival"},
    {L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers\\EventHandlers\\"
     L"PlayMusicFilesOnArrival",
     L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers\\Handlers\\"
     L"VelmorisPlayerPlayMusicFilesOnArrival"},
};

struct RegistryString {
    const wchar_t* name;
    const wchar_t* text;
};

bool isAutoplayRegistered()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, classKeyName, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool isUserAdmin()
{
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                  0, 0, &administrators))
        return false;
    BOOL member = FALSE;
    BOOL checked = CheckTokenMembership(nullptr, administrators, &member);
    FreeSid(administrators);
    return checked && member;
}

// Creates or opens parent\subkey with full access.
static bool createRegistryKey(HKEY parent, const wchar_t* subkey, HKEY* key)
{
    return RegCreateKeyExW(parent, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key,
                           nullptr) == ERROR_SUCCESS;
}

// Writes text as REG_SZ, terminator included; name nullptr is the key's default value.
static bool setRegistryString(HKEY key, const wchar_t* name, const wchar_t* text)
{
    DWORD bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) == ERROR_SUCCESS;
}

// Creates parent\subkey and writes the values in order, stopping at the first failure.
static bool writeStrings(HKEY parent, const wchar_t* subkey, const RegistryString* values, size_t count)
{
    HKEY key;
    if (!createRegistryKey(parent, subkey, &key))
        return false;
    bool written = true;
    for (size_t i = 0; written && i < count; ++i)
        written = setRegistryString(key, values[i].name, values[i].text);
    RegCloseKey(key);
    return written;
}

static bool writeFileClass(HKEY root, const wchar_t* classKeyPath, const wchar_t* iconText, const wchar_t* commandText)
{
    HKEY classKey;
    if (!createRegistryKey(root, classKeyPath, &classKey))
        return false;
    const RegistryString icon = {nullptr, iconText};
    const RegistryString verb = {nullptr, L"Open"};
    const RegistryString command = {nullptr, commandText};
    bool written = writeStrings(classKey, L"DefaultIcon", &icon, 1) && writeStrings(classKey, L"shell", &verb, 1) &&
                   writeStrings(classKey, L"shell\\Open\\command", &command, 1);
    RegCloseKey(classKey);
    return written;
}

static bool writeHandler(const HandlerKeys& keys, const wchar_t* iconText)
{
    const RegistryString event = {handlerName, L""};
    const RegistryString handler[] = {
        {L"Action", L"音声ファイルの再生"}, {L"DefaultIcon", iconText},   {L"InvokeProgID", classKeyName},
        {L"InvokeVerb", L"Open"},          {L"Provider", programTitle},
    };
    return writeStrings(HKEY_LOCAL_MACHINE, keys.eventHandlers, &event, 1) &&
           writeStrings(HKEY_LOCAL_MACHINE, keys.handler, handler, ARRAYSIZE(handler));
}

// A program path cut to the buffer would register another file: then nothing is written.
bool registerAutoplay()
{
    wchar_t program[TEXT_BUFFER_UNITS];
    DWORD length = GetModuleFileNameW(nullptr, program, TEXT_BUFFER_UNITS);
    wchar_t iconText[TEXT_BUFFER_UNITS];
    wchar_t commandText[TEXT_BUFFER_UNITS];
    if (length == 0 || length >= TEXT_BUFFER_UNITS ||
        !formatText(iconText, TEXT_BUFFER_UNITS, L"\"%ls\",0", program) ||
        !formatText(commandText, TEXT_BUFFER_UNITS, L"\"%ls\" %%L", program))
        return false;
    return writeFileClass(HKEY_CLASSES_ROOT, classKeyName, iconText, commandText) &&
           writeFileClass(HKEY_LOCAL_MACHINE, machineClassKeyName, iconText, commandText) &&
           writeHandler(handlerKeys[0], iconText) && writeHandler(handlerKeys[1], iconText);
}

// The event keys belong to the system and other handlers: only our value leaves them.
static void removeHandler(const HandlerKeys& keys)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, keys.handler);
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keys.eventHandlers, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(key, handlerName);
    RegCloseKey(key);
}

bool unregisterAutoplay()
{
    bool removed = RegDeleteTreeW(HKEY_CLASSES_ROOT, classKeyName) == ERROR_SUCCESS;
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, machineClassKeyName);
    removeHandler(handlerKeys[0]);
    removeHandler(handlerKeys[1]);
    return removed;
}

// Shown whatever the message display setting says: the user asked for this change just now.
static void showAutoplayError(const wchar_t* text)
{
    askUser(nullptr, text, programTitle, MB_ICONERROR);
}

void toggleAutoplayRegistration()
{
    bool registered = isAutoplayRegistered();
    if (!isUserAdmin())
        showAutoplayError(registered
                              ? L"自動再生ソフト登録の解除には、管理者権限が必要です。\n管理者権限で本ソフトを実行して下さい。"
                              : L"自動再生ソフトの選択肢の一つに登録するには、管理者権限が必要です。\n"
                                L"管理者権限で本ソフトを実行して下さい。");
    else if (!registered && !registerAutoplay())
        showAutoplayError(L"自動再生ソフトの選択肢の一つへの登録に失敗しました。");
    else if (registered && !unregisterAutoplay())
        showAutoplayError(L"自動再生ソフト登録の解除に失敗しました。");
}
