// One private folder per fuzzing process for the targets that go through
// files; removed when the process ends.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace miravel::fuzz {

inline const std::filesystem::path& TempDir() {
    struct Folder {
        std::filesystem::path path;
        Folder() {
            path = std::filesystem::temp_directory_path() /
                   ("miravel-fuzz-" + std::to_string(::getpid()));
            std::filesystem::create_directories(path);
        }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static Folder folder;
    return folder.path;
}

}  // namespace miravel::fuzz
