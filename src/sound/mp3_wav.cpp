#include "sound/mp3_wav.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "config/file_access.h"

namespace miravel {

namespace {

// kbit/s by bitrate index (ISO/IEC 11172-3 and 13818-3); 0 and 15 give 0.
constexpr int kMpeg1Bitrates[3][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},  // Layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},     // Layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},      // Layer III
};
constexpr int kLowRateBitrates[3][16] = {
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},  // Layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},       // Layer II
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},       // Layer III
};
// Hz by sampling-frequency index; index 3 is reserved.
constexpr uint32_t kMpeg1Rates[4] = {44100, 48000, 32000, 0};
constexpr uint32_t kMpeg2Rates[4] = {22050, 24000, 16000, 0};
constexpr uint32_t kMpeg25Rates[4] = {11025, 12000, 8000, 0};

// Fixed fields of the MPEG Layer-3 wave format record and the fact chunk.
constexpr uint16_t kFormatTagMpegLayer3 = 0x55;
constexpr uint16_t kMpegLayer3Id = 1;
constexpr uint32_t kPaddingOff = 2;
constexpr uint16_t kBlockSize = 96;
constexpr uint16_t kCodecDelay = 1393;
constexpr uint32_t kFactSampleCount = 298368;

void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    Put16(p, static_cast<uint16_t>(v));
    Put16(p + 2, static_cast<uint16_t>(v >> 16));
}

void PutTag(uint8_t* p, const char* tag) {
    std::memcpy(p, tag, 4);
}

Mp3WavResult Fail(Mp3WavStep step, int error) {
    Mp3WavResult r;
    r.step = step;
    r.error = error;
    return r;
}

}  // namespace

bool HasMp3FrameSync(const uint8_t* first4) {
    return first4[0] == 0xFF && first4[1] >= 0xE0;
}

Mp3FrameHeader ReadMp3FrameHeader(const uint8_t* first4) {
    Mp3FrameHeader h;
    const int versionBits = (first4[1] >> 3) & 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5, 1 reserved
    const int layerCode = (first4[1] >> 1) & 3;    // 3 Layer I, 2 Layer II, 1 Layer III
    const int bitrateIndex = first4[2] >> 4;
    const int rateIndex = (first4[2] >> 2) & 3;
    h.version = (versionBits & 1) ? 1 : (versionBits == 2 ? 2 : 25);
    h.layer = layerCode == 0 ? 0 : 4 - layerCode;
    if (h.layer != 0) {
        h.bitrateKbps = h.version == 1 ? kMpeg1Bitrates[h.layer - 1][bitrateIndex]
                                       : kLowRateBitrates[h.layer - 1][bitrateIndex];
    }
    h.sampleRate = h.version == 1   ? kMpeg1Rates[rateIndex]
                   : h.version == 2 ? kMpeg2Rates[rateIndex]
                                    : kMpeg25Rates[rateIndex];
    h.channels = (first4[3] >> 6) == 3 ? 1 : 2;
    return h;
}

std::array<uint8_t, kWavHeaderSize> BuildMp3WavHeader(const uint8_t* first4,
                                                      uint32_t sourceLength) {
    const Mp3FrameHeader frame = ReadMp3FrameHeader(first4);
    std::array<uint8_t, kWavHeaderSize> h{};
    uint8_t* p = h.data();
    PutTag(p + 0, "RIFF");
    Put32(p + 4, sourceLength + 62);
    PutTag(p + 8, "WAVE");
    PutTag(p + 12, "fmt ");
    Put32(p + 16, 30);
    Put16(p + 20, kFormatTagMpegLayer3);
    Put16(p + 22, frame.channels);
    Put32(p + 24, frame.sampleRate);
    Put32(p + 28, static_cast<uint32_t>(frame.bitrateKbps) * 1000 / 8);
    Put16(p + 32, 1);   // block align
    Put16(p + 34, 0);   // bits per sample
    Put16(p + 36, 12);  // extra size
    Put16(p + 38, kMpegLayer3Id);
    Put32(p + 40, kPaddingOff);
    Put16(p + 44, kBlockSize);
    Put16(p + 46, 1);  // frames per block
    Put16(p + 48, kCodecDelay);
    PutTag(p + 50, "fact");
    Put32(p + 54, 4);
    Put32(p + 58, kFactSampleCount);
    PutTag(p + 62, "data");
    Put32(p + 66, sourceLength);
    return h;
}

bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec)) return true;
    const std::filesystem::path na = std::filesystem::absolute(a, ec).lexically_normal();
    const std::filesystem::path nb = std::filesystem::absolute(b, ec).lexically_normal();
    return na == nb;
}

Mp3WavResult WrapMp3AsWav(const std::filesystem::path& source,
                          const std::filesystem::path& target) {
    // Opening the target for writing would empty the source.
    if (IsSameFile(source, target)) return Fail(Mp3WavStep::kSameFile, 0);

    errno = 0;
    std::FILE* in = OpenFile(source, "rb");
    if (!in) return Fail(Mp3WavStep::kSourceOpen, errno);
    uint8_t first4[4];
    if (std::fread(first4, 1, 4, in) != 4) {
        // A short file sets no error number; "no error" would be the message.
        const int error = std::ferror(in) && errno != 0 ? errno : EIO;
        std::fclose(in);
        return Fail(Mp3WavStep::kSourceOpen, error);
    }
    if (!HasMp3FrameSync(first4)) {
        std::fclose(in);
        return Fail(Mp3WavStep::kNotMp3, 0);
    }
    if (std::fseek(in, 0, SEEK_SET) != 0) {
        const int error = errno;
        std::fclose(in);
        return Fail(Mp3WavStep::kSourceOpen, error);
    }
    std::error_code ec;
    const uintmax_t length = std::filesystem::file_size(source, ec);
    if (ec || length > kMaxMp3SourceLength) {
        std::fclose(in);
        return Fail(Mp3WavStep::kReadWrite, ec ? EIO : EFBIG);
    }

    errno = 0;
    std::FILE* out = OpenFile(target, "wb");
    if (!out) {
        const int error = errno;
        std::fclose(in);
        return Fail(Mp3WavStep::kTargetOpen, error);
    }
    Mp3WavResult result;
    const std::array<uint8_t, kWavHeaderSize> header =
        BuildMp3WavHeader(first4, static_cast<uint32_t>(length));
    errno = 0;
    if (std::fwrite(header.data(), 1, header.size(), out) != header.size()) {
        result = Fail(Mp3WavStep::kReadWrite, errno ? errno : EIO);
    } else {
        uint8_t buffer[65536];
        for (;;) {
            errno = 0;
            const size_t n = std::fread(buffer, 1, sizeof buffer, in);
            if (n > 0 && std::fwrite(buffer, 1, n, out) != n) {
                result = Fail(Mp3WavStep::kReadWrite, errno ? errno : EIO);
                break;
            }
            if (n < sizeof buffer) {
                if (std::ferror(in)) result = Fail(Mp3WavStep::kReadWrite, errno ? errno : EIO);
                break;
            }
        }
    }
    std::fclose(in);
    errno = 0;
    if (std::fclose(out) != 0 && result.step == Mp3WavStep::kDone)
        result = Fail(Mp3WavStep::kTargetClose, errno ? errno : EIO);
    return result;
}

const char* Mp3WavCaption(Mp3WavStep step) {
    switch (step) {
        case Mp3WavStep::kDone:
        case Mp3WavStep::kCancelled:
            return "";
        case Mp3WavStep::kSameFile:
        case Mp3WavStep::kTargetOpen:
            return "Hedef Dosya Açılamıyor";
        case Mp3WavStep::kSourceOpen:
            return "Kaynak Dosya Açılamıyor";
        case Mp3WavStep::kNotMp3:
            return "MP3toWAV";
        case Mp3WavStep::kReadWrite:
            return "Okuma/Yazma Hatası";
        case Mp3WavStep::kTargetClose:
            return "Hedef Dosya Kapatılamıyor";
    }
    return "";
}

std::string Mp3WavMessage(const Mp3WavResult& result) {
    switch (result.step) {
        case Mp3WavStep::kDone:
        case Mp3WavStep::kCancelled:
            return "";
        case Mp3WavStep::kSameFile:
            return kSameFileText;
        case Mp3WavStep::kNotMp3:
            return "Geçersiz MP3 formatı";
        default:
            return std::strerror(result.error);
    }
}

Mp3WavResult ConvertMp3ToWavWith(Mp3WavDialogs& dialogs) {
    std::filesystem::path source, target;
    if (!dialogs.ChooseSource(&source)) return Fail(Mp3WavStep::kCancelled, 0);
    for (;;) {
        if (!dialogs.ChooseTarget(source, &target)) return Fail(Mp3WavStep::kCancelled, 0);
        if (!dialogs.SameFile(source, target)) break;
        dialogs.Report(kSameFileText, Mp3WavCaption(Mp3WavStep::kSameFile));
    }
    const Mp3WavResult result = WrapMp3AsWav(source, target);
    if (result.step != Mp3WavStep::kDone)
        dialogs.Report(Mp3WavMessage(result), Mp3WavCaption(result.step));
    return result;
}

}  // namespace miravel
