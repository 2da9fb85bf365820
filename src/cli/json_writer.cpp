#include "cli/json_writer.h"

#include <cstdio>

#include "config/codepage.h"

namespace miravel::cli {

std::string JsonWriter::Quote(std::string_view cp1254) {
    std::string out = "\"";
    for (char c : Cp1254ToUtf8(cp1254)) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

void JsonWriter::Key(std::string_view key) {
    if (needComma_) out_ += ",";
    if (!key.empty()) out_ += Quote(key) + ":";
    needComma_ = true;
}

JsonWriter& JsonWriter::BeginObject(std::string_view key) {
    Key(key);
    out_ += "{";
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    out_ += "}";
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::BeginArray(std::string_view key) {
    Key(key);
    out_ += "[";
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    out_ += "]";
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view key, std::string_view value) {
    Key(key);
    out_ += Quote(value);
    return *this;
}

JsonWriter& JsonWriter::Int(std::string_view key, int64_t value) {
    Key(key);
    out_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(std::string_view key, bool value) {
    Key(key);
    out_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Fixed(std::string_view key, int64_t scaled, int decimals) {
    Key(key);
    int64_t unit = 1;
    for (int i = 0; i < decimals; ++i)
        unit *= 10;
    const int64_t a = scaled < 0 ? -scaled : scaled;
    std::string text = (scaled < 0 ? "-" : "") + std::to_string(a / unit);
    if (decimals > 0) {
        std::string frac = std::to_string(a % unit);
        text += "." + std::string(decimals - frac.size(), '0') + frac;
    }
    out_ += text;
    return *this;
}

}  // namespace miravel::cli
