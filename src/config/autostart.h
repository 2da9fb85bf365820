// Whether the program starts when the user logs on. The state lives with the
// system (the registry's Run key on Windows, an XDG autostart entry
// elsewhere), so IsRegistered always reads it from there.
#pragma once

#include <filesystem>
#include <memory>

namespace miravel {

class Autostart {
  public:
    virtual ~Autostart() = default;
    // False also when the state cannot be read.
    virtual bool IsRegistered() = 0;
    // Registers `programPath` to be started at logon; false when it could not.
    virtual bool Register(const std::filesystem::path& programPath) = 0;
    // True when nothing is registered afterwards, also when nothing was.
    virtual bool Unregister() = 0;
};

// The implementation of the platform the program runs on.
std::unique_ptr<Autostart> MakeSystemAutostart();

#ifdef _WIN32
// The registry implementation under another value name (tests).
std::unique_ptr<Autostart> MakeRegistryAutostart(const wchar_t* valueName);
#endif

}  // namespace miravel
