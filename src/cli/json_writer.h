// A small writer for one JSON object; strings go in as Windows-1254 and come
// out as UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace miravel::cli {

class JsonWriter {
  public:
    JsonWriter& BeginObject(std::string_view key = {});
    JsonWriter& EndObject();
    JsonWriter& BeginArray(std::string_view key = {});
    JsonWriter& EndArray();
    JsonWriter& String(std::string_view key, std::string_view cp1254Value);
    JsonWriter& Int(std::string_view key, int64_t value);
    JsonWriter& Bool(std::string_view key, bool value);
    // A number with a fixed count of decimals, e.g. hundredths as 41.01.
    JsonWriter& Fixed(std::string_view key, int64_t scaled, int decimals);

    // The finished text with a final newline.
    std::string Text() const { return out_ + "\n"; }

  private:
    void Key(std::string_view key);
    static std::string Quote(std::string_view cp1254);

    std::string out_;
    bool needComma_ = false;
};

}  // namespace miravel::cli
