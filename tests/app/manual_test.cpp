#include "app/manual.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace miravel {
namespace {

// Files that exist and the types the shell has a program for.
class FakeShell : public DocumentShell {
  public:
    std::set<std::string> files, openable;
    std::vector<std::string> opened;  // every Open call, in order

    bool Exists(const std::filesystem::path& file) override {
        return files.count(file.generic_string()) != 0;
    }
    bool Open(const std::filesystem::path& file) override {
        opened.push_back(file.generic_string());
        return openable.count(file.extension().string()) != 0 && Exists(file);
    }
};

const auto kFiles = ManualFiles("C:/Miravel/miravel");

TEST(Manual, BothFormsBesideTheProgramRtfFirst) {
    EXPECT_EQ(kFiles[0].generic_string(), "C:/Miravel/miravel.rtf");
    EXPECT_EQ(kFiles[1].generic_string(), "C:/Miravel/miravel.html");
    // A base name with a dot keeps it.
    EXPECT_EQ(ManualFiles("D:/x/miravel.old")[1].generic_string(), "D:/x/miravel.old.html");
}

TEST(Manual, OpensTheRtfWhereAProgramTakesIt) {
    FakeShell shell;
    shell.files = {"C:/Miravel/miravel.rtf", "C:/Miravel/miravel.html"};
    shell.openable = {".rtf", ".html"};
    EXPECT_EQ(OpenManual(shell, kFiles), kFiles[0]);
    EXPECT_EQ(shell.opened, std::vector<std::string>{"C:/Miravel/miravel.rtf"});
}

TEST(Manual, FallsBackToTheHtmlWithoutAProgramForRtf) {
    FakeShell shell;
    shell.files = {"C:/Miravel/miravel.rtf", "C:/Miravel/miravel.html"};
    shell.openable = {".html"};
    EXPECT_EQ(OpenManual(shell, kFiles), kFiles[1]);
    EXPECT_EQ(shell.opened,
              (std::vector<std::string>{"C:/Miravel/miravel.rtf", "C:/Miravel/miravel.html"}));
}

TEST(Manual, MissingFilesAreNotHandedToTheShell) {
    FakeShell shell;
    shell.openable = {".rtf", ".html"};
    EXPECT_FALSE(ManualAvailable(shell, kFiles));
    EXPECT_EQ(OpenManual(shell, kFiles), std::filesystem::path());
    EXPECT_TRUE(shell.opened.empty());

    // Only the HTML shipped (or left): the entry stays usable and opens it.
    shell.files = {"C:/Miravel/miravel.html"};
    EXPECT_TRUE(ManualAvailable(shell, kFiles));
    EXPECT_EQ(OpenManual(shell, kFiles), kFiles[1]);
    EXPECT_EQ(shell.opened, std::vector<std::string>{"C:/Miravel/miravel.html"});
}

TEST(Manual, NothingOpensWhenTheShellTakesNeither) {
    FakeShell shell;
    shell.files = {"C:/Miravel/miravel.rtf", "C:/Miravel/miravel.html"};
    EXPECT_EQ(OpenManual(shell, kFiles), std::filesystem::path());
    EXPECT_EQ(shell.opened.size(), 2u);
}

}  // namespace
}  // namespace miravel
