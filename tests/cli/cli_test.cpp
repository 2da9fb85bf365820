#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "config/settings.h"
#include "config/temp_folder.h"
#include "core/calendar.h"
#include "core/sun.h"

namespace miravel::cli {
namespace {

using miravel::testing::TempFolder;

struct Outcome {
    int rc;
    std::string out, err;
};

// Runs the whole command line "miravel-cli <args>" and keeps what it printed.
Outcome RunCommandLine(std::vector<std::string> args) {
    args.insert(args.begin(), "miravel-cli");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int rc = RunCli(static_cast<int>(argv.size()), argv.data());
    std::fflush(stdout);
    std::fflush(stderr);
    Outcome o{rc, ::testing::internal::GetCapturedStdout(), ""};
    o.err = ::testing::internal::GetCapturedStderr();
    return o;
}

const CommandHelp* const kAllHelp[] = {&kTimesHelp,  &kPlaceHelp, &kFindHelp,   &kEventsHelp,
                                       &kAstroHelp,  &kHijriHelp, &kReportHelp, &kTimeSyncHelp,
                                       &kRenderHelp, &kMp3WavHelp};

TEST(CliHelp, TheToolsHelpListsEveryCommandAndEndsWell) {
    for (const std::vector<std::string>& ask : {std::vector<std::string>{"--help"},
                                                {"-h"},
                                                {"help"},
                                                {"help", "help"},
                                                {"help", "--help"}}) {
        const Outcome o = RunCommandLine(ask);
        EXPECT_EQ(o.rc, 0) << ask.back();
        EXPECT_EQ(o.out.rfind("usage: miravel-cli COMMAND", 0), 0u) << ask.back();
        EXPECT_EQ(o.err, "") << ask.back();
        for (const CommandHelp* c : kAllHelp)
            EXPECT_NE(o.out.find(std::string("\n  ") + c->name + " "), std::string::npos)
                << c->name;
    }
}

std::vector<OptionHelp> AllOptions(const CommandHelp& c) {
    std::vector<OptionHelp> all(c.placeOptions.begin(), c.placeOptions.end());
    all.insert(all.end(), c.options.begin(), c.options.end());
    return all;
}

TEST(CliHelp, EachCommandShowsItsOwnHelpHoweverAsked) {
    for (const CommandHelp* c : kAllHelp) {
        const std::string usage = std::string("usage: miravel-cli ") + c->name;
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"help", c->name},
              {c->name, "--help"},
              {c->name, "-h"},
              // Asked for among other arguments, even wrong ones.
              {c->name, "--no-such-flag", "x", "--help"}}) {
            const Outcome o = RunCommandLine(args);
            EXPECT_EQ(o.rc, 0) << c->name;
            EXPECT_EQ(o.out.rfind(usage, 0), 0u) << o.out;
            EXPECT_NE(o.out.find("-h, --help"), std::string::npos);
            for (const OptionHelp& option : AllOptions(*c))
                EXPECT_NE(o.out.find(std::string("  ") + option.flag), std::string::npos)
                    << option.flag;
        }
    }
    // After "--" a "--help" is an argument like any other.
    EXPECT_EQ(RunCommandLine({"hijri", "--", "--help"}).rc, 2);
}

TEST(CliHelp, UsageErrorsEndWithTwoAndAHint) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"nosuch"},
                                                 {"help", "nosuch"},
                                                 {"times", "--nosuch"},
                                                 {"times", "extra"},
                                                 {"times", "--date"},
                                                 {"times", "--date", "31/02/2020"},
                                                 {"render", "moon"},
                                                 {"report", "weekly"},
                                                 {"mp3wav", "only-one.mp3"},
                                                 {"place"}}) {
        const Outcome o = RunCommandLine(args);
        EXPECT_EQ(o.rc, 2) << (args.empty() ? "(none)" : args[0]);
        EXPECT_NE(o.err.find("--help"), std::string::npos) << o.err;
    }
}

// Every option a command's help names is one its parser takes: given with a
// value that cannot be used, the complaint is about the value or the
// arguments, never an unknown option.
TEST(CliHelp, EveryDocumentedOptionIsTaken) {
    for (const CommandHelp* c : kAllHelp) {
        for (const OptionHelp& option : AllOptions(*c)) {
            const std::string text = option.flag;
            const std::string flag = text.substr(0, text.find(' '));
            const Outcome o = RunCommandLine({c->name, flag, "?bad?"});
            EXPECT_EQ(o.rc, 2) << c->name << " " << flag;
            EXPECT_EQ(o.err.find("unknown option"), std::string::npos) << c->name << " " << o.err;
        }
    }
}

// The INI angles reach the core the same way through the command line as
// through the program's start-up and its dialog, for every hundredth that
// the dialog accepts.
TEST(CliCalcParams, AnglesReachTheCoreAsInTheProgram) {
    TempFolder dir;
    const std::string ini = (dir / "miravel.ini").string();
    int differing = 0;
    for (int h = -2000; h <= -1000; ++h) {
        {
            FILE* f = std::fopen(ini.c_str(), "wb");
            ASSERT_NE(f, nullptr);
            std::fprintf(f,
                         "[Hesap Paramatreleri]\r\nEnlem=6000\r\nBoylam=2500\r\nSaat Farkı=120\r\n"
                         "Yaz Saati=1\r\nİmsak Açısı=%d\r\nYatsı Açısı=%d\r\nHesap Modu=1\r\n",
                         h, h);
            std::fclose(f);
        }
        ProgramState program;  // start-up
        LoadCalcParams(program, ini);

        ProgramState dialog;  // the dialog's value, applied
        dialog.calc.imsakAngle = dialog.calc.yatsiAngle = static_cast<float>(h) / 100.0f;
        dialog.calc.mode = 1;
        ApplyCalcParams(dialog);

        ProgramState cli;
        Args args({"--ini"}, {});
        std::string iniArg = ini, flag = "--ini", error;
        char* argv[] = {flag.data(), iniArg.data()};
        ASSERT_TRUE(args.Parse(2, argv, &error));
        ASSERT_TRUE(LoadPlace(args, cli, &error)) << error;

        // The file's İmsak angle is held to the dialog's limit, as the dialog
        // itself would hold it; the Yatsı angle's range covers the whole loop.
        const float expected = static_cast<float>(h * 0.01);
        const float expectedImsak = static_cast<float>(std::min(h, limits::kImsakAngleHigh) * 0.01);
        ASSERT_EQ(program.astro.imsakAngle, expectedImsak) << h;
        ASSERT_EQ(program.astro.yatsiAngle, expected) << h;
        ASSERT_EQ(dialog.astro.imsakAngle, expected) << h;
        if (cli.astro.imsakAngle != expectedImsak || cli.astro.yatsiAngle != expected) ++differing;
        EXPECT_EQ(cli.astro.imsakAngle, program.astro.imsakAngle) << h;
        EXPECT_EQ(cli.astro.yatsiAngle, program.astro.yatsiAngle) << h;
        EXPECT_EQ(cli.astro.mode, program.astro.mode);

        // And so the times: at 60° N in early April the sun sinks below every
        // one of these angles, so each angle decides its minute.
        std::array<int32_t, kVakitCount> a{}, b{};
        for (auto [ps, times] : {std::pair{&program, &a}, std::pair{&cli, &b}}) {
            SetLocation(ps->astro, 6000, 2500, 180);
            SetDate(ps->astro, 1, 4, 2021);
            ComputeDayTimes(ps->astro, times->data());
        }
        EXPECT_EQ(a, b) << h;
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace miravel::cli
