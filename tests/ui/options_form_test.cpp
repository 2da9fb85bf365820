#include "ui/options_form.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string_view>

#include "fake_controls.h"

namespace miravel {
namespace {

using testing::FakeControls;

struct Dialog {
    ProgramState ps;
    FakeControls c;
    Dialog() { RefreshOptionsForm(ps, c); }
    int Commit() { return CommitOptions(ps, c); }
    OptionsEffect Press(int id) {
        OptionsEffect e = OptionsEffect::kNone;
        EXPECT_TRUE(OptionsCommand(ps, c, id, &e));
        return e;
    }
};

TEST(OptionsCommit, MinuteFieldLimits) {
    Dialog d;
    struct Case {
        int id;
        const char* text;
        bool passes;
    } cases[] = {
        {IDC_FRIDAY_SALA_LEAD, "9", false},  {IDC_FRIDAY_SALA_LEAD, "10", true},
        {IDC_FRIDAY_SALA_LEAD, "120", true}, {IDC_FRIDAY_SALA_LEAD, "121", false},
        {IDC_SAHUR_SALA_LEAD, "120", true},  {IDC_SAHUR_SALA_LEAD, "-10", false},
        {IDC_MORNING_LEAD, "61", false},     {IDC_MORNING_LEAD, "10", true},
        {IDC_REMINDER_LEAD, "60", true},     {IDC_REMINDER_LEAD, "61", false},
        {IDC_REMINDER_LEAD, "yirmi", false},
    };
    for (const Case& k : cases) {
        Dialog fresh;
        fresh.c.text[k.id] = k.text;
        EXPECT_EQ(fresh.Commit(), k.passes ? 0 : k.id) << k.id << " " << k.text;
        if (!k.passes) {
            EXPECT_EQ(fresh.c.focus, k.id);
        }
    }
}

TEST(OptionsCommit, StoresInOrderUpToTheFirstFailure) {
    Dialog d;
    d.c.text[IDC_MORNING_LEAD] = "45";
    d.c.text[IDC_REMINDER_LEAD] = "15";
    d.c.text[IDC_FRIDAY_SALA_LEAD] = "5";
    d.c.text[IDC_SAHUR_SALA_LEAD] = "100";
    EXPECT_EQ(d.Commit(), IDC_FRIDAY_SALA_LEAD);
    EXPECT_EQ(d.ps.options.morningAdhanLead, 45);
    EXPECT_EQ(d.ps.options.reminderLead, 15);
    EXPECT_EQ(d.ps.options.fridaySalaLead, 60);
    EXPECT_EQ(d.ps.options.sahurSalaLead, 90);  // never read
    EXPECT_EQ(d.c.focusLog,
              (std::vector<int>{IDC_MORNING_LEAD, IDC_REMINDER_LEAD, IDC_FRIDAY_SALA_LEAD}));
}

TEST(OptionsCommit, DisabledMorningLeadIsStillChecked) {
    ProgramState ps;
    ps.options.morningAdhanAtImsak = true;
    ps.options.morningAdhanLead = 5;  // as loaded from the file
    FakeControls c;
    RefreshOptionsForm(ps, c);
    EXPECT_FALSE(c.enabled[IDC_MORNING_LEAD]);
    EXPECT_EQ(CommitOptions(ps, c), IDC_MORNING_LEAD);

    OptionsEffect e;
    OptionsCommand(ps, c, IDC_MORNING_AT_SUNRISE, &e);
    EXPECT_FALSE(ps.options.morningAdhanAtImsak);
    EXPECT_TRUE(c.enabled[IDC_MORNING_LEAD]);
    EXPECT_TRUE(c.checked[IDC_MORNING_AT_SUNRISE]);
    EXPECT_FALSE(c.checked[IDC_MORNING_AT_IMSAK]);
    c.text[IDC_MORNING_LEAD] = "30";
    EXPECT_EQ(CommitOptions(ps, c), 0);
}

TEST(OptionsCommand, Switches) {
    Dialog d;
    EXPECT_EQ(d.Press(IDC_MORNING_AT_IMSAK), OptionsEffect::kNone);
    EXPECT_TRUE(d.ps.options.morningAdhanAtImsak);
    EXPECT_FALSE(d.c.enabled[IDC_MORNING_LEAD]);
    d.Press(IDC_MORNING_AT_IMSAK);  // a radio button, not a toggle
    EXPECT_TRUE(d.ps.options.morningAdhanAtImsak);

    EXPECT_FALSE(d.c.enabled[IDC_FRIDAY_SALA_LEAD]);
    d.Press(IDC_FRIDAY_SALA);
    EXPECT_TRUE(d.ps.options.fridaySala);
    EXPECT_TRUE(d.c.enabled[IDC_FRIDAY_SALA_LEAD]);
    d.Press(IDC_SAHUR_SALA);
    EXPECT_TRUE(d.c.enabled[IDC_SAHUR_SALA_LEAD]);
    d.Press(IDC_SAHUR_SALA);
    EXPECT_FALSE(d.ps.options.sahurSala);
    EXPECT_FALSE(d.c.enabled[IDC_SAHUR_SALA_LEAD]);

    d.Press(IDC_ASR_SANI_ADHAN);
    EXPECT_EQ(d.ps.ikindiAdhanTime, AsriSani);
    d.Press(IDC_ASR_SANI_ADHAN);
    EXPECT_EQ(d.ps.ikindiAdhanTime, Ikindi);
    EXPECT_FALSE(d.c.checked[IDC_ASR_SANI_ADHAN]);

    d.Press(IDC_AUTOSTART);
    EXPECT_TRUE(d.ps.options.autostart);
    EXPECT_TRUE(d.c.checked[IDC_AUTOSTART]);

    OptionsEffect e;
    EXPECT_FALSE(OptionsCommand(d.ps, d.c, IDC_OK_BUTTON, &e));
    EXPECT_FALSE(OptionsCommand(d.ps, d.c, IDC_MORNING_LEAD, &e));
}

TEST(OptionsCommand, ClockCorrectionRunsOnlyWhenSwitchedOn) {
    Dialog d;
    EXPECT_EQ(d.Press(IDC_AUTO_CLOCK), OptionsEffect::kCorrectClockNow);
    EXPECT_TRUE(d.ps.options.autoClockCorrection);
    EXPECT_EQ(d.Press(IDC_AUTO_CLOCK), OptionsEffect::kNone);
    EXPECT_FALSE(d.ps.options.autoClockCorrection);
}

TEST(SalaFile, NeededBySalaOptions) {
    Options o;
    EXPECT_FALSE(SalaFileNeeded(o));
    o.reminderSala = true;
    EXPECT_TRUE(SalaFileNeeded(o));  // reminderFile is "sala.wav" by default
    std::snprintf(o.reminderFile, sizeof o.reminderFile, "SALA.WAV");
    EXPECT_TRUE(SalaFileNeeded(o));
    std::snprintf(o.reminderFile, sizeof o.reminderFile, "ezan.wav");
    EXPECT_FALSE(SalaFileNeeded(o));
    std::snprintf(o.reminderFile, sizeof o.reminderFile, "sala.wav.mp3");
    EXPECT_FALSE(SalaFileNeeded(o));
    o.reminderSala = false;
    o.fridaySala = true;
    EXPECT_TRUE(SalaFileNeeded(o));
    o.fridaySala = false;
    o.sahurSala = true;
    EXPECT_TRUE(SalaFileNeeded(o));
}

TEST(SalaFile, DownloadOfferedOnlyWhereItCanSucceed) {
    Options o;
    o.fridaySala = true;
    EXPECT_EQ(SalaOfferFor(o, false, true), SalaFileOffer::kDownload);
    EXPECT_EQ(SalaOfferFor(o, false, false), SalaFileOffer::kChooseFile);
    EXPECT_EQ(SalaOfferFor(o, true, false), SalaFileOffer::kNone);  // present: never again
    EXPECT_EQ(SalaOfferFor(o, true, true), SalaFileOffer::kNone);
    o.fridaySala = false;
    EXPECT_EQ(SalaOfferFor(o, false, false), SalaFileOffer::kNone);  // not needed
    o.reminderSala = true;
    std::snprintf(o.reminderFile, sizeof o.reminderFile, "%s", "SALA.WAV");
    EXPECT_EQ(SalaOfferFor(o, false, false), SalaFileOffer::kChooseFile);
}

TEST(SalaFile, OnlyAWaveFileIsTakenAsTheSala) {
    EXPECT_TRUE(LooksLikeWave(std::string_view("RIFF\x24\0\0\0WAVEfmt ", 16)));
    EXPECT_FALSE(LooksLikeWave("ID3\x04\0\0\0\0\0\0\0\0"));  // an MP3 named .wav
    EXPECT_FALSE(LooksLikeWave(std::string_view("RIFF\x24\0\0\0AVI ", 12)));
    EXPECT_FALSE(LooksLikeWave("RIFF"));
    EXPECT_FALSE(LooksLikeWave(""));
}

}  // namespace
}  // namespace miravel
