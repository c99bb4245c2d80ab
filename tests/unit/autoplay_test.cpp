#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "settings/autoplay.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

const std::wstring handlers = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers\\";
const std::wstring handlers32 = L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers\\";
const std::wstring eventKey = L"EventHandlers\\PlayMusicFilesOnArrival";
const std::wstring handlerKey = L"Handlers\\VelmorisPlayerPlayMusicFilesOnArrival";

struct Entry {
    HKEY root;
    std::wstring key;
    const wchar_t* name;
    std::wstring data;
};

bool machineKeyExists(const std::wstring& key)
{
    HKEY opened;
    bool exists = RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, &opened) == ERROR_SUCCESS;
    return exists && RegCloseKey(opened) == ERROR_SUCCESS;
}

// Under Wine the test process is an administrator: these tests write the prefix's machine keys
// for real and remove them again.
class Autoplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        support::resetPlayerState();
        ASSERT_TRUE(isUserAdmin()) << "the registration tests need administrator rights";
        unregisterAutoplay();
    }
    void TearDown() override { unregisterAutoplay(); }
};

TEST_F(Autoplay, RegistrationWritesAllEighteenStringsAndRemovalLeavesOnlyTheEventKeys)
{
    ASSERT_TRUE(registerAutoplay());
    wchar_t program[1024];
    GetModuleFileNameW(nullptr, program, 1024);
    const std::wstring icon = L"\"" + std::wstring(program) + L"\",0", command = L"\"" + std::wstring(program) + L"\" %L";
    std::vector<Entry> entries;
    for (const std::wstring classKey : {L"VelmorisPlayer", L"SOFTWARE\\Classes\\VelmorisPlayer"}) {
        HKEY root = entries.empty() ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
        entries.insert(entries.end(), {{root, classKey + L"\\DefaultIcon", nullptr, icon},
                                       {root, classKey + L"\\shell", nullptr, L"Open"},
                                       {root, classKey + L"\\shell\\Open\\command", nullptr, command}});
    }
    for (const std::wstring& base : {handlers, handlers32}) {
        const std::wstring handler = base + handlerKey;
        entries.insert(entries.end(), {{HKEY_LOCAL_MACHINE, base + eventKey, L"VelmorisPlayerPlayMusicFilesOnArrival", L""},
                                       {HKEY_LOCAL_MACHINE, handler, L"Action", L"音声ファイルの再生"},
                                       {HKEY_LOCAL_MACHINE, handler, L"DefaultIcon", icon},
                                       {HKEY_LOCAL_MACHINE, handler, L"InvokeProgID", L"VelmorisPlayer"},
                                       {HKEY_LOCAL_MACHINE, handler, L"InvokeVerb", L"Open"},
                                       {HKEY_LOCAL_MACHINE, handler, L"Provider", L"Velmoris Player"}});
    }
    for (const Entry& entry : entries) {
        wchar_t data[1024] = L"?";
        DWORD bytes = sizeof(data), type = REG_NONE;
        LSTATUS status = RegGetValueW(entry.root, entry.key.c_str(), entry.name, RRF_RT_ANY, &type, data, &bytes);
        EXPECT_EQ(std::make_tuple(ERROR_SUCCESS, DWORD(REG_SZ), DWORD((entry.data.size() + 1) * sizeof(wchar_t)), entry.data),
                  std::make_tuple(status, type, bytes, std::wstring(data)))
            << entry.key << " " << (entry.name ? entry.name : L"(default)");
    }
    EXPECT_TRUE(isAutoplayRegistered());

    EXPECT_TRUE(unregisterAutoplay());
    for (const Entry& entry : entries)
        EXPECT_NE(ERROR_SUCCESS, RegGetValueW(entry.root, entry.key.c_str(), entry.name, RRF_RT_ANY, nullptr, nullptr, nullptr))
            << entry.key;
    EXPECT_FALSE(isAutoplayRegistered());
    EXPECT_FALSE(machineKeyExists(handlers + handlerKey));
    EXPECT_TRUE(machineKeyExists(handlers + eventKey) && machineKeyExists(handlers32 + eventKey));
    EXPECT_FALSE(unregisterAutoplay()) << "nothing left to remove";
}

TEST_F(Autoplay, CommandRegistersThenUnregistersSilentlyAndOnlyTheClassKeyCounts)
{
    toggleAutoplayRegistration();
    EXPECT_TRUE(isAutoplayRegistered());
    toggleAutoplayRegistration();
    EXPECT_FALSE(isAutoplayRegistered());
    // Handler entries left behind do not count as a registration: the command registers again.
    ASSERT_TRUE(registerAutoplay());
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CLASSES_ROOT, L"VelmorisPlayer"));
    EXPECT_FALSE(isAutoplayRegistered());
    toggleAutoplayRegistration();
    EXPECT_TRUE(isAutoplayRegistered());
    EXPECT_TRUE(fake::messageBoxes().empty());
}

} // namespace
