// A save killed at any moment leaves the old file or the new one, never a
// mix; the next save leaves no temporary file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/file_access.h"
#include "config/ini_file.h"
#include "temp_folder.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#endif

namespace miravel {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::vector<std::string> Entries(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    return names;
}

TEST(AtomicSave, AStaleTemporaryFileIsReplacedAndGone) {
    TempFolder dir;
    const auto ini = dir / "miravel.ini";
    WriteBytes(ini, "[A]\r\nx=1\r\n");
    // What a save killed halfway leaves: half a file, marked read-only since.
    WriteBytes(TempPathBeside(ini), "[A]\r\nx=");
    std::filesystem::permissions(TempPathBeside(ini), std::filesystem::perms::owner_read);
    ASSERT_TRUE(WriteIniInt(ini, "A", "x", 2));
    EXPECT_EQ(ReadBytes(ini), "[A]\r\nx=2\r\n");
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"miravel.ini"});
}

#ifndef _WIN32

// Two complete versions of different lengths, so that any mix of the two or
// any cut shows.
std::string Pad(int version) {
    return std::string(version ? 48000 : 24000, version ? 'b' : 'a');
}

bool SaveVersion(const std::filesystem::path& ini, int version) {
    IniFileEdit edit(ini);
    edit.SetInt("Seçenekler", "Sürüm", version);
    edit.SetString("Seçenekler", "Dolgu", Pad(version));
    return edit.Commit();
}

TEST(AtomicSave, SigkillDuringSavesNeverLeavesAPartialFile) {
    TempFolder dir;
    const auto ini = dir / "miravel.ini";
    WriteBytes(ini, "; elle yazıldı\r\n[Seçenekler]\r\nDuvar=Ay\r\n");
    ASSERT_TRUE(SaveVersion(ini, 0));
    std::string versions[2];
    versions[0] = ReadBytes(ini);
    ASSERT_TRUE(SaveVersion(ini, 1));
    versions[1] = ReadBytes(ini);
    ASSERT_NE(versions[0].size(), versions[1].size());

    // Kills fall within the first two saves of a child, however long a save
    // takes on this machine and in this build (sanitizers, a loaded machine).
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(SaveVersion(ini, i % 2));
    const auto saveUs = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - started)
                            .count() /
                        8;
    const unsigned killWindowUs = static_cast<unsigned>(std::max<int64_t>(4000, 2 * saveUs));

    std::mt19937 rng(77);
    int killedWithTemporaryFile = 0;
    constexpr int kKills = 320;
    for (int round = 0; round < kKills; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves back and forth until killed; a lost parent ends it in time.
            close(ready[0]);
            const auto stop = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            int version = round % 2;
            bool signalled = false;
            while (std::chrono::steady_clock::now() < stop) {
                version = 1 - version;
                if (!SaveVersion(ini, version)) _exit(3);
                // Ready after a first save: that one also pays for the pages
                // the fork left shared, many with a sanitizer's shadow memory.
                if (!signalled) {
                    signalled = write(ready[1], "x", 1) == 1;
                }
            }
            _exit(0);
        }
        close(ready[1]);
        char byte;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        usleep(static_cast<useconds_t>(rng() % killWindowUs));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended on its own: " << status;

        const std::string now = ReadBytes(ini);
        ASSERT_TRUE(now == versions[0] || now == versions[1])
            << "round " << round << ": " << now.size() << " bytes";
        if (std::filesystem::exists(TempPathBeside(ini))) ++killedWithTemporaryFile;

        // The next save goes through and leaves nothing beside the file.
        const int next = now == versions[0] ? 1 : 0;
        ASSERT_TRUE(SaveVersion(ini, next));
        ASSERT_EQ(ReadBytes(ini), versions[next]);
        ASSERT_EQ(Entries(dir.path()), std::vector<std::string>{"miravel.ini"}) << round;
    }
    // The kills did land inside saves, not only between them.
    EXPECT_GT(killedWithTemporaryFile, kKills / 20);
    RecordProperty("KillsDuringASave", killedWithTemporaryFile);
}

#endif  // _WIN32

}  // namespace
}  // namespace miravel
