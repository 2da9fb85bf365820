// The MP3-to-WAV wrapper on any file: the header it reads, the 70 bytes it
// builds, and the wrapped file, which is that header and the source unchanged.
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "fuzz_input.h"
#include "sound/mp3_wav.h"
#include "temp_dir.h"

namespace {

uint32_t Get32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t Get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

void CheckHeader(const uint8_t* first4, uint32_t length) {
    const miravel::Mp3FrameHeader f = miravel::ReadMp3FrameHeader(first4);
    FUZZ_CHECK(f.version == 1 || f.version == 2 || f.version == 25);
    FUZZ_CHECK(f.layer >= 0 && f.layer <= 3);
    FUZZ_CHECK(f.bitrateKbps >= 0 && f.bitrateKbps <= 448 && f.bitrateKbps % 8 == 0);
    FUZZ_CHECK(f.layer != 0 || f.bitrateKbps == 0);
    // The nine rates of the three versions, 0 for the reserved index.
    static const std::set<uint32_t> kRates = {0,     8000,  11025, 12000, 16000,
                                              22050, 24000, 32000, 44100, 48000};
    FUZZ_CHECK(kRates.count(f.sampleRate) == 1);
    FUZZ_CHECK(f.channels == 1 || f.channels == 2);

    const auto h = miravel::BuildMp3WavHeader(first4, length);
    FUZZ_CHECK(std::memcmp(h.data(), "RIFF", 4) == 0 &&
               std::memcmp(h.data() + 8, "WAVEfmt ", 8) == 0);
    FUZZ_CHECK(std::memcmp(h.data() + 50, "fact", 4) == 0 &&
               std::memcmp(h.data() + 62, "data", 4) == 0);
    // The RIFF size counts everything after its own field: header and data.
    FUZZ_CHECK(static_cast<uint64_t>(Get32(h.data() + 4)) + 8 ==
               miravel::kWavHeaderSize + uint64_t{length});
    FUZZ_CHECK(Get32(h.data() + 66) == length);
    FUZZ_CHECK(Get32(h.data() + 16) + 20 + 12 == 62);  // fmt chunk, then the 12-byte fact chunk
    FUZZ_CHECK(Get16(h.data() + 20) == 0x55);
    FUZZ_CHECK(Get16(h.data() + 22) == f.channels);
    FUZZ_CHECK(Get32(h.data() + 24) == f.sampleRate);
    FUZZ_CHECK(Get32(h.data() + 28) == static_cast<uint32_t>(f.bitrateKbps) * 125);
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string source(reinterpret_cast<const char*>(data), size);
    if (size >= 4) {
        const bool sync = miravel::HasMp3FrameSync(data);
        FUZZ_CHECK(sync == (data[0] == 0xFF && (data[1] & 0xE0) == 0xE0));
        CheckHeader(data, static_cast<uint32_t>(size));
        CheckHeader(data, static_cast<uint32_t>(miravel::kMaxMp3SourceLength));
    }

    const std::filesystem::path& dir = miravel::fuzz::TempDir();
    const std::filesystem::path in = dir / "source.mp3", out = dir / "target.wav";
    {
        std::ofstream f(in, std::ios::binary | std::ios::trunc);
        f << source;
    }
    std::error_code ec;
    std::filesystem::remove(out, ec);
    const miravel::Mp3WavResult r = miravel::WrapMp3AsWav(in, out);
    if (size < 4) {
        FUZZ_CHECK(r.step == miravel::Mp3WavStep::kSourceOpen && r.error != 0);
        FUZZ_CHECK(!std::filesystem::exists(out));
    } else if (!miravel::HasMp3FrameSync(data)) {
        FUZZ_CHECK(r.step == miravel::Mp3WavStep::kNotMp3);
        FUZZ_CHECK(!std::filesystem::exists(out));
    } else {
        FUZZ_CHECK(r.step == miravel::Mp3WavStep::kDone);
        const auto h = miravel::BuildMp3WavHeader(data, static_cast<uint32_t>(size));
        FUZZ_CHECK(ReadAll(out) == std::string(h.begin(), h.end()) + source);
        FUZZ_CHECK(ReadAll(in) == source);
    }
    // The message of every outcome is text, never empty for a failure.
    if (r.step != miravel::Mp3WavStep::kDone) FUZZ_CHECK(!miravel::Mp3WavMessage(r).empty());
    return 0;
}
