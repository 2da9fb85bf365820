// The text of a report as the bytes of its file: Windows-1254, and every line
// break written as CR LF, the way a Windows text-mode file stores it, so the
// file is the same whichever platform wrote it.
#pragma once

#include <string>
#include <string_view>

namespace miravel {

class ReportText {
  public:
    // printf-style; each "\n" of the result becomes CR LF.
    void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Put(std::string_view text);
    void FormFeed() { bytes_ += '\f'; }

    const std::string& Bytes() const { return bytes_; }
    std::string Take() { return std::move(bytes_); }

  private:
    std::string bytes_;
};

}  // namespace miravel
