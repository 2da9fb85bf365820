// The MP3-to-WAV wrapper: a RIFF/WAVE file whose format chunk declares MPEG
// Layer-3 data (format tag 0x55) and whose data chunk is the MP3 file itself,
// byte for byte, so that the system's WAV player can play it. Only the first
// frame header is looked at; nothing is decoded.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace miravel {

inline constexpr size_t kWavHeaderSize = 70;

struct Mp3FrameHeader {
    int version = 1;          // 1 MPEG-1, 2 MPEG-2, 25 MPEG-2.5
    int layer = 0;            // 1, 2, 3; 0 for the reserved layer code
    int bitrateKbps = 0;      // 0 for free format, the invalid index and the reserved layer
    uint32_t sampleRate = 0;  // 0 for the reserved frequency index
    uint16_t channels = 2;    // 1 for single channel
};

// The first two bytes carry the frame sync: 0xFF and at least 0xE0.
bool HasMp3FrameSync(const uint8_t* first4);
Mp3FrameHeader ReadMp3FrameHeader(const uint8_t* first4);

// The 70 bytes before the MP3 data. `sourceLength` + 62 must fit 32 bits.
std::array<uint8_t, kWavHeaderSize> BuildMp3WavHeader(const uint8_t* first4, uint32_t sourceLength);

// The largest source whose wrapped file sizes fit the 32-bit RIFF fields.
inline constexpr uint64_t kMaxMp3SourceLength = 0xFFFFFFFFull - 62;

enum class Mp3WavStep {
    kDone,
    kCancelled,   // the user closed a file dialog
    kSameFile,    // the target is the source
    kSourceOpen,  // the source cannot be opened or has fewer than 4 bytes
    kNotMp3,      // no frame sync at the start
    kTargetOpen,
    kReadWrite,  // the header, the copy, or a source too long for RIFF
    kTargetClose,
};

struct Mp3WavResult {
    Mp3WavStep step = Mp3WavStep::kDone;
    int error = 0;  // errno at the failure, where one applies
};

// Writes the wrapped file. A failure after the target was created leaves
// what was written so far.
Mp3WavResult WrapMp3AsWav(const std::filesystem::path& source, const std::filesystem::path& target);

// Whether two paths name one file: the same existing file (however it is
// spelt or linked; letter case where the file system ignores it), or the same
// path once made absolute and normal. The Windows command also compares the
// typed names without regard to letter case.
bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// The caption and text of the box that reports a failure (Windows-1254).
const char* Mp3WavCaption(Mp3WavStep step);
std::string Mp3WavMessage(const Mp3WavResult& result);

inline constexpr char kSameFileText[] = "KAYNAK ve HEDEF dosyaları farklı olmalı...";

// The dialogs the wrapper needs; the Windows program shows the common file
// dialogs and message boxes, tests record.
class Mp3WavDialogs {
  public:
    virtual ~Mp3WavDialogs() = default;
    // False when the user cancels.
    virtual bool ChooseSource(std::filesystem::path* source) = 0;
    virtual bool ChooseTarget(const std::filesystem::path& source,
                              std::filesystem::path* target) = 0;
    virtual bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) = 0;
    virtual void Report(const std::string& text, const char* caption) = 0;
};

// The whole command: both choices, the same-file refusal (the target is asked
// again), the wrapping and its one message on failure. Success is silent.
Mp3WavResult ConvertMp3ToWavWith(Mp3WavDialogs& dialogs);

}  // namespace miravel
