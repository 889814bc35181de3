// The Run value in the real registry (a scratch key stands in for the Run key
// where a failure has to be provoked).
#include "tray/autostart_win32.h"

#include <gtest/gtest.h>

#include "win/handles_win32.h"

namespace {
std::string ReadRunValue(DWORD& type) {
    char data[1024] = {};
    DWORD size = sizeof data;
    type = 0x55555555;
    if (::RegGetValueA(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS)
        return "<absent>";
    return data;
}

class RecordingFeedback : public AutostartFeedback {
public:
    std::vector<SystemSound> beeps;
    std::vector<std::string> warnings;
    void MakeSound(SystemSound sound) override { beeps.push_back(sound); }
    void ShowWarning(const std::string& text) override { warnings.push_back(text); }
};

TEST(Win32RunKey, SwitchingOnWritesTheQuotedPathAndOffDeletesIt) {
    Win32RunKey key;
    key.DeleteValue();
    RecordingFeedback feedback;
    Autostart autostart(key, feedback, "C:\\Program Files\\Sonoraflux\\Sonoraflux.exe");
    autostart.ReadAtStartup();
    EXPECT_FALSE(autostart.State());
    autostart.Toggle();
    DWORD type = 0;
    EXPECT_EQ(ReadRunValue(type), "\"C:\\Program Files\\Sonoraflux\\Sonoraflux.exe\"");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(key.HasValue());
    autostart.Toggle();
    EXPECT_EQ(ReadRunValue(type), "<absent>");
    EXPECT_FALSE(key.HasValue());
    autostart.Toggle();
    autostart.Toggle();
    EXPECT_TRUE(feedback.warnings.empty());
}

TEST(Win32RunKey, DeletingAMissingValueIsNoError) {
    Win32RunKey key;
    key.DeleteValue();
    EXPECT_NO_THROW(key.DeleteValue());
    EXPECT_FALSE(key.HasValue());
}

TEST(Win32RunKey, AMissingKeyReadsAbsentAndOnlyTheSwitchOnFails) {
    Win32RunKey missing(HKEY_CURRENT_USER, "Software\\Sonoraflux-tests\\no such key");
    EXPECT_FALSE(missing.HasValue());
    EXPECT_NO_THROW(missing.DeleteValue());
    EXPECT_THROW(missing.SetValue("x"), RegistryError);
}

// A scratch key holding the value, whose only access entry grants everyone
// `rights` (Wine checks a key's access list when it is opened); it is opened
// up again and removed at the end.
class LockedRunKey : public ::testing::Test {
protected:
    static constexpr const char* kPath = "Software\\Sonoraflux-tests\\locked Run";

    void TearDown() override {
        OpenUp();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Sonoraflux-tests");
    }

    // The owner may always change the access list.
    void OpenUp() {
        UniqueRegKey key;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, WRITE_DAC, key.put()) == ERROR_SUCCESS)
            SetOnlyAccess(key.get(), KEY_ALL_ACCESS);
    }

    void CreateWithValueAndOnly(DWORD rights) {
        UniqueRegKey key;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExA(key.get(), kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2),
                  ERROR_SUCCESS);
        ASSERT_EQ(SetOnlyAccess(key.get(), rights), ERROR_SUCCESS);
    }

    static LONG SetOnlyAccess(HKEY key, DWORD rights) {
        BYTE everyone[SECURITY_MAX_SID_SIZE];
        DWORD sidSize = sizeof everyone;
        alignas(ACL) BYTE aclBytes[256];
        auto* acl = reinterpret_cast<ACL*>(aclBytes);
        SECURITY_DESCRIPTOR sd;
        const bool built = ::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &sidSize) &&
                           ::InitializeAcl(acl, sizeof aclBytes, ACL_REVISION) &&
                           ::AddAccessAllowedAce(acl, ACL_REVISION, rights, everyone) &&
                           ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
                           ::SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
        return built ? ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd) : static_cast<LONG>(::GetLastError());
    }

    bool ValueIsThere() {
        return ::RegGetValueA(HKEY_CURRENT_USER, kPath, kRunValueName, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
    }
};

TEST_F(LockedRunKey, AKeyTheUserMayOnlyReadShowsOnAndRefusesTheSwitchOff) {
    CreateWithValueAndOnly(KEY_READ);
    UniqueRegKey probe;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, KEY_SET_VALUE, probe.put()) == ERROR_SUCCESS)
        GTEST_SKIP() << "the registry grants writing past the key's access list";
    Win32RunKey key(HKEY_CURRENT_USER, kPath);
    RecordingFeedback feedback;
    Autostart autostart(key, feedback, "C:\\S\\Sonoraflux.exe");
    autostart.ReadAtStartup();
    EXPECT_TRUE(autostart.State()) << "the value is there";
    EXPECT_TRUE(feedback.warnings.empty());
    autostart.Toggle();
    EXPECT_TRUE(ValueIsThere());
    EXPECT_TRUE(autostart.State()) << "the value stayed: the item stays on";
    EXPECT_EQ(feedback.warnings, std::vector<std::string>{kToggleRegistryWarning});
    EXPECT_THROW(key.SetValue("y"), RegistryError);
}

TEST_F(LockedRunKey, AKeyTheUserMayNotReadIsAWarningNotAnAbsentValue) {
    CreateWithValueAndOnly(KEY_SET_VALUE);
    Win32RunKey key(HKEY_CURRENT_USER, kPath);
    EXPECT_THROW(key.HasValue(), RegistryError);
    EXPECT_NO_THROW(key.DeleteValue()) << "deleting needs only the right to set values";
    OpenUp();
    EXPECT_FALSE(ValueIsThere());
}
}  // namespace
