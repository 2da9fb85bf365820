#include "config/autostart.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "temp_folder.h"

namespace miravel {
namespace {

#ifndef _WIN32

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// Sets an environment variable for the test's duration.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(XdgAutostart, RegistersReadsBackAndUnregisters) {
    TempFolder config;
    ScopedEnv xdg("XDG_CONFIG_HOME", config.path().string().c_str());
    const auto entry = config / "autostart" / "miravel.desktop";
    auto autostart = MakeSystemAutostart();

    EXPECT_FALSE(autostart->IsRegistered());
    EXPECT_TRUE(autostart->Unregister());  // nothing there: nothing to do

    ASSERT_TRUE(autostart->Register("/opt/Mira vel/$bin/miravel"));
    EXPECT_TRUE(autostart->IsRegistered());
    const std::string text = ReadBytes(entry);
    EXPECT_NE(text.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
    // Quoted for the blank; "$" escaped for the quoting, its backslash doubled
    // for the desktop file.
    EXPECT_NE(text.find("\nExec=\"/opt/Mira vel/\\\\$bin/miravel\"\n"), std::string::npos);

    EXPECT_TRUE(autostart->Unregister());
    EXPECT_FALSE(autostart->IsRegistered());
    EXPECT_FALSE(std::filesystem::exists(entry));
}

TEST(XdgAutostart, ReadsTheSessionsViewOfTheEntry) {
    TempFolder config;
    ScopedEnv xdg("XDG_CONFIG_HOME", config.path().string().c_str());
    const auto entry = config / "autostart" / "miravel.desktop";
    auto autostart = MakeSystemAutostart();
    ASSERT_TRUE(autostart->Register("/usr/bin/miravel"));

    WriteBytes(entry, "[Desktop Entry]\nType=Application\nExec=miravel\nHidden=true\n");
    EXPECT_FALSE(autostart->IsRegistered());
    WriteBytes(entry, "[Desktop Entry]\nExec=miravel\nX-GNOME-Autostart-enabled=false\n");
    EXPECT_FALSE(autostart->IsRegistered());
    WriteBytes(entry, "[Desktop Entry]\nType=Application\n");
    EXPECT_FALSE(autostart->IsRegistered());
}

TEST(XdgAutostart, FallsBackToHomeConfig) {
    TempFolder home;
    ScopedEnv xdg("XDG_CONFIG_HOME", "relative/is/ignored");
    ScopedEnv homeVar("HOME", home.path().string().c_str());
    auto autostart = MakeSystemAutostart();
    ASSERT_TRUE(autostart->Register("/usr/bin/miravel"));
    EXPECT_TRUE(std::filesystem::exists(home / ".config" / "autostart" / "miravel.desktop"));
    EXPECT_TRUE(autostart->IsRegistered());

    ScopedEnv noHome("HOME", nullptr);
    ScopedEnv noXdg("XDG_CONFIG_HOME", nullptr);
    EXPECT_FALSE(autostart->IsRegistered());
    EXPECT_FALSE(autostart->Register("/usr/bin/miravel"));  // nowhere to put it: no false success
}

#else

// The registry implementation under a value of its own, so that the test
// never touches the program's real entry.
TEST(RegistryAutostart, RegistersReadsBackAndUnregisters) {
    auto autostart = MakeRegistryAutostart(L"MiravelUnitTest");
    ASSERT_TRUE(autostart->Unregister());
    EXPECT_FALSE(autostart->IsRegistered());
    EXPECT_TRUE(autostart->Unregister());  // absent and not wanted: no change, no failure

    ASSERT_TRUE(autostart->Register("C:\\Program Files\\Miravel\\miravel.ini"));
    EXPECT_TRUE(autostart->IsRegistered());
    ASSERT_TRUE(autostart->Unregister());
    EXPECT_FALSE(autostart->IsRegistered());
}

#endif

}  // namespace
}  // namespace miravel
