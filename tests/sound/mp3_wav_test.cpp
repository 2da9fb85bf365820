#include "sound/mp3_wav.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "config/temp_folder.h"

namespace miravel {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

fs::path SoundData(const char* name) {
    return fs::path(MIRAVEL_TEST_DATA_DIR) / "sound" / name;
}

uint32_t Get32(const std::string& b, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

uint16_t Get16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1])
                                                                   << 8);
}

// Every field of the 70-byte header, then the source unchanged.
void ExpectWrapped(const std::string& wav, const std::string& mp3, uint16_t channels, uint32_t rate,
                   uint32_t bytesPerSecond, const char* what) {
    SCOPED_TRACE(what);
    ASSERT_EQ(wav.size(), mp3.size() + 70);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(Get32(wav, 4), mp3.size() + 62);
    EXPECT_EQ(Get32(wav, 4), wav.size() - 8);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Get32(wav, 16), 30u);
    EXPECT_EQ(Get16(wav, 20), 0x55);
    EXPECT_EQ(Get16(wav, 22), channels);
    EXPECT_EQ(Get32(wav, 24), rate);
    EXPECT_EQ(Get32(wav, 28), bytesPerSecond);
    EXPECT_EQ(Get16(wav, 32), 1);     // block align
    EXPECT_EQ(Get16(wav, 34), 0);     // bits per sample
    EXPECT_EQ(Get16(wav, 36), 12);    // extra size
    EXPECT_EQ(Get16(wav, 38), 1);     // MPEG Layer-3 id
    EXPECT_EQ(Get32(wav, 40), 2u);    // padding off
    EXPECT_EQ(Get16(wav, 44), 96);    // block size
    EXPECT_EQ(Get16(wav, 46), 1);     // frames per block
    EXPECT_EQ(Get16(wav, 48), 1393);  // codec delay
    EXPECT_EQ(wav.substr(50, 4), "fact");
    EXPECT_EQ(Get32(wav, 54), 4u);
    EXPECT_EQ(Get32(wav, 58), 298368u);
    EXPECT_EQ(wav.substr(62, 4), "data");
    EXPECT_EQ(Get32(wav, 66), mp3.size());
    EXPECT_TRUE(wav.compare(70, std::string::npos, mp3) == 0) << "data differs from the source";
}

// Files made by a real encoder (lame; the Layer II one by ffmpeg's mp2
// encoder) from a 0.3 s tone.
TEST(Mp3Wav, EncodedFilesOfEveryVersionLayerAndChannelModeAreWrapped) {
    struct Case {
        const char* file;
        uint16_t channels;
        uint32_t rate;
        uint32_t bytesPerSecond;
    };
    const Case cases[] = {
        {"mpeg1_44k_stereo_128.mp3", 2, 44100, 16000},
        {"mpeg1_44k_joint_192.mp3", 2, 44100, 24000},
        {"mpeg1_48k_mono_64.mp3", 1, 48000, 8000},
        {"mpeg2_22k_mono_32.mp3", 1, 22050, 4000},
        {"mpeg2_24k_joint_64.mp3", 2, 24000, 8000},
        {"mpeg2_16k_dual_48.mp3", 2, 16000, 6000},
        // MPEG-2.5 (version bits 00) keeps its own rates: a WAV that claimed
        // 22050 Hz for 11025 Hz frames would not play right.
        {"mpeg25_11k_mono_16.mp3", 1, 11025, 2000},
        // Layer II passes the check and is declared Layer-3 all the same.
        {"layer2_44k_stereo_128.mp3", 2, 44100, 16000},
    };
    TempFolder dir;
    for (const Case& c : cases) {
        const fs::path target = dir / (std::string(c.file) + ".wav");
        const Mp3WavResult r = WrapMp3AsWav(SoundData(c.file), target);
        ASSERT_EQ(r.step, Mp3WavStep::kDone) << c.file;
        ExpectWrapped(ReadBytes(target), ReadBytes(SoundData(c.file)), c.channels, c.rate,
                      c.bytesPerSecond, c.file);
    }
}

TEST(Mp3Wav, FrameHeaderFieldsAndTheTablesReservedEntries) {
    // Layer I, MPEG-1, 448 kbit/s (index 14), 32 kHz, single channel.
    const uint8_t layer1[4] = {0xFF, 0xFF, 0xE8, 0xC0};
    Mp3FrameHeader h = ReadMp3FrameHeader(layer1);
    EXPECT_EQ(h.version, 1);
    EXPECT_EQ(h.layer, 1);
    EXPECT_EQ(h.bitrateKbps, 448);
    EXPECT_EQ(h.sampleRate, 32000u);
    EXPECT_EQ(h.channels, 1);
    // Layer I at the lower sampling frequencies has its own table.
    const uint8_t layer1Low[4] = {0xFF, 0xF7, 0xE4, 0x40};
    h = ReadMp3FrameHeader(layer1Low);
    EXPECT_EQ(h.version, 2);
    EXPECT_EQ(h.bitrateKbps, 256);
    EXPECT_EQ(h.sampleRate, 24000u);
    EXPECT_EQ(h.channels, 2);  // joint stereo
    // Free format (0), the invalid index 15, the reserved layer and the
    // reserved frequency give 0.
    const uint8_t freeFormat[4] = {0xFF, 0xFB, 0x00, 0x80};
    EXPECT_EQ(ReadMp3FrameHeader(freeFormat).bitrateKbps, 0);
    EXPECT_EQ(ReadMp3FrameHeader(freeFormat).channels, 2);  // dual channel
    const uint8_t badIndex[4] = {0xFF, 0xFB, 0xF0, 0x00};
    EXPECT_EQ(ReadMp3FrameHeader(badIndex).bitrateKbps, 0);
    const uint8_t reservedLayer[4] = {0xFF, 0xF9, 0x90, 0x00};
    EXPECT_EQ(ReadMp3FrameHeader(reservedLayer).layer, 0);
    EXPECT_EQ(ReadMp3FrameHeader(reservedLayer).bitrateKbps, 0);
    const uint8_t reservedRate[4] = {0xFF, 0xFB, 0x9C, 0x00};
    EXPECT_EQ(ReadMp3FrameHeader(reservedRate).sampleRate, 0u);
    const auto header = BuildMp3WavHeader(reservedRate, 1000);
    const std::string bytes(header.begin(), header.end());
    EXPECT_EQ(Get32(bytes, 24), 0u);      // no sampling rate
    EXPECT_EQ(Get32(bytes, 28), 16000u);  // 128 kbit/s all the same
}

TEST(Mp3Wav, AnyFourBytesWithTheSyncGiveAHeaderFromTheTables) {
    // Every version, layer, bitrate, frequency and channel mode: the values
    // come from the tables or are 0, never from outside them.
    const std::set<uint32_t> rates = {0,     8000,  11025, 12000, 16000,
                                      22050, 24000, 32000, 44100, 48000};
    for (int b1 = 0xE0; b1 <= 0xFF; ++b1) {
        for (int b2 = 0; b2 <= 0xFF; ++b2) {
            for (int mode = 0; mode < 4; ++mode) {
                const uint8_t bytes[4] = {0xFF, static_cast<uint8_t>(b1), static_cast<uint8_t>(b2),
                                          static_cast<uint8_t>(mode << 6)};
                ASSERT_TRUE(HasMp3FrameSync(bytes));
                const Mp3FrameHeader h = ReadMp3FrameHeader(bytes);
                ASSERT_TRUE(rates.count(h.sampleRate)) << b1 << " " << b2;
                ASSERT_GE(h.bitrateKbps, 0);
                ASSERT_LE(h.bitrateKbps, 448);
                ASSERT_EQ(h.channels, mode == 3 ? 1 : 2);
            }
        }
    }
}

TEST(Mp3Wav, OnlyTheFirstTwoBytesDecideAndFramesFurtherOnAreNotSearched) {
    const uint8_t sync[4] = {0xFF, 0xE0, 0, 0};
    const uint8_t noSync[4] = {0xFF, 0xDF, 0, 0};
    const uint8_t id3[4] = {'I', 'D', '3', 4};
    EXPECT_TRUE(HasMp3FrameSync(sync));
    EXPECT_FALSE(HasMp3FrameSync(noSync));
    EXPECT_FALSE(HasMp3FrameSync(id3));

    TempFolder dir;
    const std::string frames = ReadBytes(SoundData("mpeg1_44k_stereo_128.mp3"));
    // An ID3 tag in front, or a single stray byte: refused, nothing written.
    const std::string sources[] = {ReadBytes(SoundData("id3_tagged.mp3")),
                                   std::string(1, '\0') + frames,
                                   std::string("\xFF\xDF\x90\x04", 4) + frames};
    for (const std::string& bytes : sources) {
        WriteBytes(dir / "in.mp3", bytes);
        const Mp3WavResult r = WrapMp3AsWav(dir / "in.mp3", dir / "out.wav");
        EXPECT_EQ(r.step, Mp3WavStep::kNotMp3);
        EXPECT_EQ(Mp3WavMessage(r), "Geçersiz MP3 formatı");
        EXPECT_STREQ(Mp3WavCaption(r.step), "MP3toWAV");
        EXPECT_FALSE(fs::exists(dir / "out.wav"));
    }
    // Garbage after a sync is not looked at: it is wrapped as it is.
    const std::string garbage = std::string("\xFF\xFF\xFF\xFF", 4) + std::string(5000, '\x5A');
    WriteBytes(dir / "in.mp3", garbage);
    ASSERT_EQ(WrapMp3AsWav(dir / "in.mp3", dir / "out.wav").step, Mp3WavStep::kDone);
    const std::string wav = ReadBytes(dir / "out.wav");
    ASSERT_EQ(wav.size(), garbage.size() + 70);
    EXPECT_EQ(wav.substr(70), garbage);
    EXPECT_EQ(Get32(wav, 24), 0u);  // reserved frequency index
    EXPECT_EQ(Get32(wav, 28), 0u);  // invalid bitrate index
}

TEST(Mp3Wav, SourceWithoutFourBytesIsReportedWithTheErrorAndNothingIsCreated) {
    TempFolder dir;
    for (size_t n = 0; n < 4; ++n) {
        WriteBytes(dir / "short.mp3", std::string("\xFF\xFB\x90", n));
        const Mp3WavResult r = WrapMp3AsWav(dir / "short.mp3", dir / "out.wav");
        EXPECT_EQ(r.step, Mp3WavStep::kSourceOpen) << n;
        EXPECT_STREQ(Mp3WavCaption(r.step), "Kaynak Dosya Açılamıyor");
        // A short read sets no error number; the box must not say "success".
        EXPECT_NE(r.error, 0) << n;
        EXPECT_FALSE(Mp3WavMessage(r).empty());
        EXPECT_FALSE(fs::exists(dir / "out.wav")) << n;
    }
    const Mp3WavResult missing = WrapMp3AsWav(dir / "missing.mp3", dir / "out.wav");
    EXPECT_EQ(missing.step, Mp3WavStep::kSourceOpen);
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_EQ(Mp3WavMessage(missing), std::strerror(ENOENT));
    EXPECT_FALSE(fs::exists(dir / "out.wav"));
}

TEST(Mp3Wav, TargetThatCannotBeCreatedAndTheSourceItself) {
    TempFolder dir;
    const std::string mp3 = ReadBytes(SoundData("mpeg1_48k_mono_64.mp3"));
    WriteBytes(dir / "in.mp3", mp3);
    Mp3WavResult r = WrapMp3AsWav(dir / "in.mp3", dir / "no" / "such" / "out.wav");
    EXPECT_EQ(r.step, Mp3WavStep::kTargetOpen);
    EXPECT_STREQ(Mp3WavCaption(r.step), "Hedef Dosya Açılamıyor");
    EXPECT_EQ(Mp3WavMessage(r), std::strerror(r.error));
    EXPECT_NE(r.error, 0);
    // A folder where the file should go.
    fs::create_directory(dir / "folder.wav");
    EXPECT_EQ(WrapMp3AsWav(dir / "in.mp3", dir / "folder.wav").step, Mp3WavStep::kTargetOpen);

    // Writing over the source would empty it before it is read; other
    // spellings of the same path are caught too.
    for (const fs::path& same : {dir / "in.mp3", dir / "folder.wav" / ".." / "in.mp3"}) {
        r = WrapMp3AsWav(dir / "in.mp3", same);
        EXPECT_EQ(r.step, Mp3WavStep::kSameFile) << same;
        EXPECT_EQ(Mp3WavMessage(r), "KAYNAK ve HEDEF dosyaları farklı olmalı...");
        EXPECT_STREQ(Mp3WavCaption(r.step), "Hedef Dosya Açılamıyor");
    }
    EXPECT_EQ(ReadBytes(dir / "in.mp3"), mp3);
}

TEST(Mp3Wav, ALongerOldTargetIsReplacedWhole) {
    TempFolder dir;
    WriteBytes(dir / "out.wav", std::string(100000, 'x'));
    const std::string mp3 = ReadBytes(SoundData("mpeg2_22k_mono_32.mp3"));
    ASSERT_EQ(WrapMp3AsWav(SoundData("mpeg2_22k_mono_32.mp3"), dir / "out.wav").step,
              Mp3WavStep::kDone);
    ExpectWrapped(ReadBytes(dir / "out.wav"), mp3, 1, 22050, 4000, "over an old file");
}

// The command's dialogs as a script: the answers given in turn, the boxes
// recorded.
class ScriptedDialogs : public Mp3WavDialogs {
  public:
    bool sourceChosen = true;
    fs::path source;
    std::vector<fs::path> targets;  // one per save dialog; cancelled when used up
    int saveDialogs = 0;
    std::vector<std::string> reports;

    bool ChooseSource(fs::path* chosen) override {
        if (!sourceChosen) return false;
        *chosen = source;
        return true;
    }
    bool ChooseTarget(const fs::path& from, fs::path* chosen) override {
        EXPECT_EQ(from, source);
        if (saveDialogs >= static_cast<int>(targets.size())) return false;
        *chosen = targets[saveDialogs++];
        return true;
    }
    bool SameFile(const fs::path& a, const fs::path& b) override { return IsSameFile(a, b); }
    void Report(const std::string& text, const char* caption) override {
        reports.push_back(std::string(caption) + " | " + text);
    }
};

TEST(Mp3WavCommand, CancellingEitherDialogEndsWithoutAWord) {
    TempFolder dir;
    ScriptedDialogs noSource;
    noSource.sourceChosen = false;
    EXPECT_EQ(ConvertMp3ToWavWith(noSource).step, Mp3WavStep::kCancelled);
    EXPECT_EQ(noSource.saveDialogs, 0);
    ScriptedDialogs noTarget;
    noTarget.source = SoundData("mpeg1_48k_mono_64.mp3");
    EXPECT_EQ(ConvertMp3ToWavWith(noTarget).step, Mp3WavStep::kCancelled);
    EXPECT_TRUE(noSource.reports.empty());
    EXPECT_TRUE(noTarget.reports.empty());
}

TEST(Mp3WavCommand, TheSourceAsTargetIsRefusedAndTheSaveDialogComesBack) {
    TempFolder dir;
    const std::string mp3 = ReadBytes(SoundData("mpeg1_48k_mono_64.mp3"));
    WriteBytes(dir / "ezan.mp3", mp3);
    ScriptedDialogs d;
    d.source = dir / "ezan.mp3";
    d.targets = {dir / "ezan.mp3", dir / "." / "ezan.mp3", dir / "ezan.wav"};
    EXPECT_EQ(ConvertMp3ToWavWith(d).step, Mp3WavStep::kDone);
    EXPECT_EQ(d.saveDialogs, 3);
    const std::string refusal =
        "Hedef Dosya Açılamıyor | KAYNAK ve HEDEF dosyaları farklı olmalı...";
    EXPECT_EQ(d.reports, (std::vector<std::string>{refusal, refusal}));  // success is silent
    ExpectWrapped(ReadBytes(dir / "ezan.wav"), mp3, 1, 48000, 8000, "after the refusals");
    EXPECT_EQ(ReadBytes(dir / "ezan.mp3"), mp3);
}

TEST(Mp3WavCommand, AFailureIsReportedOnceWithItsCaption) {
    TempFolder dir;
    WriteBytes(dir / "empty.mp3", "");
    ScriptedDialogs empty;
    empty.source = dir / "empty.mp3";
    empty.targets = {dir / "out.wav"};
    EXPECT_EQ(ConvertMp3ToWavWith(empty).step, Mp3WavStep::kSourceOpen);
    ASSERT_EQ(empty.reports.size(), 1u);
    EXPECT_EQ(empty.reports[0].rfind("Kaynak Dosya Açılamıyor | ", 0), 0u);

    ScriptedDialogs tagged;
    tagged.source = SoundData("id3_tagged.mp3");
    tagged.targets = {dir / "out.wav"};
    EXPECT_EQ(ConvertMp3ToWavWith(tagged).step, Mp3WavStep::kNotMp3);
    EXPECT_EQ(tagged.reports, (std::vector<std::string>{"MP3toWAV | Geçersiz MP3 formatı"}));
    EXPECT_FALSE(fs::exists(dir / "out.wav"));
}

}  // namespace
}  // namespace miravel
