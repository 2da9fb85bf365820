#include "config/file_access.h"

#include <cerrno>
#include <system_error>

#include "config/codepage.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace miravel {

namespace fs = std::filesystem;

fs::path PathFromText(const char* text) {
    if (!text) return {};
#ifdef _WIN32
    return fs::path(Cp1254ToUtf16(text));
#else
    return fs::path(text);
#endif
}

std::FILE* OpenFile(const fs::path& path, const char* mode) {
#ifdef _WIN32
    wchar_t wmode[8] = {};
    for (int i = 0; i < 7 && mode[i]; ++i)
        wmode[i] = static_cast<wchar_t>(mode[i]);
    return _wfopen(path.c_str(), wmode);
#else
    return std::fopen(path.c_str(), mode);
#endif
}

FileRead ReadWholeFile(const fs::path& path, std::string* out) {
    out->clear();
    errno = 0;
    std::FILE* f = OpenFile(path, "rb");
    if (!f) return errno == ENOENT ? FileRead::Missing : FileRead::Failed;
    std::error_code ec;
    const uintmax_t size = fs::file_size(path, ec);
    if (!ec && size < (uintmax_t{1} << 31)) out->reserve(static_cast<size_t>(size));
    char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        out->append(chunk, n);
    // A directory opens on some systems and then fails to read.
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        out->clear();
        return FileRead::Failed;
    }
    return FileRead::Ok;
}

fs::path TempPathBeside(const fs::path& path) {
    fs::path temp = path;
    temp += ".tmp";
    return temp;
}

namespace {

bool FlushToDisk(std::FILE* f) {
    if (std::fflush(f) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

}  // namespace

bool ReplaceFileContents(const fs::path& path, std::string_view bytes) {
    std::error_code ec;
    const fs::file_status old = fs::status(path, ec);
    const bool exists = !ec && fs::exists(old);
    if (exists && (old.permissions() & fs::perms::owner_write) == fs::perms::none) return false;

    const fs::path temp = TempPathBeside(path);
    std::FILE* f = OpenFile(temp, "wb");
    if (!f && fs::is_regular_file(temp, ec)) {
        // Left by a save that was cut short, and perhaps marked read-only
        // since: this save replaces it.
        fs::permissions(temp, fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove(temp, ec);
        f = OpenFile(temp, "wb");
    }
    if (!f) return false;  // anything else at the temporary path is not ours to remove
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = FlushToDisk(f) && ok;
    ok = std::fclose(f) == 0 && ok;
    if (ok && exists) fs::permissions(temp, old.permissions(), ec);  // best effort
    if (ok) {
        fs::rename(temp, path, ec);
        ok = !ec;
    }
    if (!ok) fs::remove(temp, ec);
    return ok;
}

}  // namespace miravel
