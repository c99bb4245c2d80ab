#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "settings/autoplay.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

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

bool machineKeyExists(const std::wstring& key)
{
    HKEY opened;
    bool exists = RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, &opened) == ERROR_SUCCESS;
    return exists && RegCloseKey(opened) == ERROR_SUCCESS;
}

// Root, key, value name (nullptr: the default value) and text; removal leaves the event keys.
TEST_F(Autoplay, RegistrationWritesAllEighteenStringsAndRemovalLeavesOnlyTheEventKeys)
{
    ASSERT_TRUE(registerAutoplay());
    wchar_t program[1024];
    GetModuleFileNameW(nullptr, program, 1024);
    const std::wstring icon = L"\"" + std::wstring(program) + L"\",0", command = L"\"" + std::wstring(program) + L"\" %L";
    const std::wstring event = L"EventHandlers\\PlayMusicFilesOnArrival";
    std::vector<std::tuple<HKEY, std::wstring, const wchar_t*, std::wstring>> entries;
    for (const std::wstring key : {L"VelmorisPlayer", L"SOFTWARE\\Classes\\VelmorisPlayer"}) {
        HKEY root = entries.empty() ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
        entries.insert(entries.end(), {{root, key + L"\\DefaultIcon", nullptr, icon}, {root, key + L"\\shell", nullptr, L"Open"},
                                       {root, key + L"\\shell\\Open\\command", nullptr, command}});
    }
    for (const std::wstring base : {L"SOFTWARE\\", L"SOFTWARE\\WOW6432Node\\"}) {
        const std::wstring handlers = base + L"Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers\\";
        const std::wstring handler = handlers + L"Handlers\\VelmorisPlayerPlayMusicFilesOnArrival";
        const HKEY root = HKEY_LOCAL_MACHINE;
        entries.insert(entries.end(), {{root, handlers + event, L"VelmorisPlayerPlayMusicFilesOnArrival", L""},
                                       {root, handler, L"Action", L"音声ファイルの再生"}, {root, handler, L"DefaultIcon", icon},
                                       {root, handler, L"InvokeProgID", L"VelmorisPlayer"}, {root, handler, L"InvokeVerb", L"Open"},
                                       {root, handler, L"Provider", L"Velmoris Player"}});
    }
    for (const auto& [root, key, name, text] : entries) {
        wchar_t data[1024] = L"?";
        DWORD bytes = sizeof(data), type = REG_NONE;
        LSTATUS status = RegGetValueW(root, key.c_str(), name, RRF_RT_ANY, &type, data, &bytes);
        EXPECT_EQ(std::make_tuple(ERROR_SUCCESS, static_cast<DWORD>(REG_SZ), static_cast<DWORD>((text.size() + 1) * 2), text),
                  std::make_tuple(status, type, bytes, std::wstring(data))) << key << " " << (name ? name : L"(default)");
    }
    EXPECT_TRUE(isAutoplayRegistered());
    EXPECT_TRUE(unregisterAutoplay());
    for (const auto& [root, key, name, text] : entries)
        EXPECT_NE(ERROR_SUCCESS, RegGetValueW(root, key.c_str(), name, RRF_RT_ANY, nullptr, nullptr, nullptr)) << key;
    EXPECT_FALSE(isAutoplayRegistered());
    EXPECT_FALSE(machineKeyExists(std::get<1>(entries[7])));
    EXPECT_TRUE(machineKeyExists(std::get<1>(entries[6])) && machineKeyExists(std::get<1>(entries[12])));
    EXPECT_FALSE(unregisterAutoplay()) << "nothing left to remove";
}

// Handler entries left behind do not count as a registration: the command registers again.
TEST_F(Autoplay, CommandRegistersThenUnregistersSilentlyAndOnlyTheClassKeyCounts)
{
    for (bool expected : {true, false}) {
        toggleAutoplayRegistration();
        EXPECT_EQ(expected, isAutoplayRegistered());
    }
    ASSERT_TRUE(registerAutoplay());
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CLASSES_ROOT, L"VelmorisPlayer"));
    EXPECT_FALSE(isAutoplayRegistered());
    toggleAutoplayRegistration();
    EXPECT_TRUE(isAutoplayRegistered());
    EXPECT_TRUE(fake::messageBoxes().empty());
}

} // namespace
