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

// Root, key, value name (nullptr: the default value) and text.
using Entry = std::tuple<HKEY, std::wstring, const wchar_t*, std::wstring>;

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
    const std::wstring icon = L"\"" + std::wstring(program) + L"\",0";
    const std::wstring command = L"\"" + std::wstring(program) + L"\" %L";
    std::vector<Entry> entries;
    for (const std::wstring classKey : {L"VelmorisPlayer", L"SOFTWARE\\Classes\\VelmorisPlayer"}) {
        HKEY root = entries.empty() ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
        entries.insert(entries.end(), {{root, classKey + L"\\DefaultIcon", nullptr, icon},
                                       {root, classKey + L"\\shell", nullptr, L"Open"},
                                       {root, classKey + L"\\shell\\Open\\command", nullptr, command}});
    }
    for (const std::wstring& base : {handlers, handlers32}) {
        const std::wstring handler = base + handlerKey;
        const HKEY root = HKEY_LOCAL_MACHINE;
        entries.insert(entries.end(), {{root, base + eventKey, L"VelmorisPlayerPlayMusicFilesOnArrival", L""},
                                       {root, handler, L"Action", L"音声ファイルの再生"},
                                       {root, handler, L"DefaultIcon", icon},
                                       {root, handler, L"InvokeProgID", L"VelmorisPlayer"},
                                       {root, handler, L"InvokeVerb", L"Open"},
                                       {root, handler, L"Provider", L"Velmoris Player"}});
    }
    for (const auto& [root, key, name, text] : entries) {
        wchar_t data[1024] = L"?";
        DWORD bytes = sizeof(data), type = REG_NONE;
        LSTATUS status = RegGetValueW(root, key.c_str(), name, RRF_RT_ANY, &type, data, &bytes);
        const DWORD expectedBytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        EXPECT_EQ(std::make_tuple(ERROR_SUCCESS, static_cast<DWORD>(REG_SZ), expectedBytes, text),
                  std::make_tuple(status, type, bytes, std::wstring(data)))
            << key << " " << (name ? name : L"(default)");
    }
    EXPECT_TRUE(isAutoplayRegistered());

    EXPECT_TRUE(unregisterAutoplay());
    for (const auto& [root, key, name, text] : entries)
        EXPECT_NE(ERROR_SUCCESS, RegGetValueW(root, key.c_str(), name, RRF_RT_ANY, nullptr, nullptr, nullptr)) << key;
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
