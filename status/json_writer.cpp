#include "status/json_writer.h"

#include <charconv>
#include <cmath>

#include "status/utf8.h"

namespace ovelsk {
namespace {

constexpr char kHex[] = "0123456789abcdef";

void appendEscaped(std::string& out, unsigned char c) {
    const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
    out.append(escape, sizeof escape);
}

// Printable ASCII that needs no escape.
bool plain(unsigned char c) { return c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '<' && c != '>' && c != '&'; }

template <typename Number>
void appendNumber(std::string& out, Number value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    out.append(text, end - text);
}

}  // namespace

void JsonWriter::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasValue_.empty()) return;
    if (hasValue_.back()) out_ += ',';
    hasValue_.back() = true;
}

void JsonWriter::open(char bracket) {
    separate();
    out_ += bracket;
    hasValue_.push_back(false);
}

void JsonWriter::close(char bracket) {
    out_ += bracket;
    hasValue_.pop_back();
}

JsonWriter& JsonWriter::beginObject() { return open('{'), *this; }
JsonWriter& JsonWriter::endObject() { return close('}'), *this; }
JsonWriter& JsonWriter::beginArray() { return open('['), *this; }
JsonWriter& JsonWriter::endArray() { return close(']'), *this; }

JsonWriter& JsonWriter::key(std::string_view name) {
    string(name);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::string(std::string_view text) {
    separate();
    out_ += '"';
    while (!text.empty()) {
        std::size_t run = 0;
        while (run < text.size() && plain(static_cast<unsigned char>(text[run]))) ++run;
        out_.append(text.data(), run);
        text.remove_prefix(run);
        if (text.empty()) break;
        const auto c = static_cast<unsigned char>(text.front());
        if (c >= 0x80) {
            const std::size_t length = utf8Length(text);
            if (length == 0) {
                out_.append("\xEF\xBF\xBD");  // U+FFFD for the byte that is not UTF-8
                text.remove_prefix(1);
            } else {
                out_.append(text.data(), length);
                text.remove_prefix(length);
            }
            continue;
        }
        if (c == '"' || c == '\\') {
            out_ += '\\';
            out_ += static_cast<char>(c);
        } else {
            appendEscaped(out_, c);
        }
        text.remove_prefix(1);
    }
    out_ += '"';
    return *this;
}

JsonWriter& JsonWriter::number(std::int64_t value) {
    separate();
    appendNumber(out_, value);
    return *this;
}

JsonWriter& JsonWriter::number(double value) {
    if (!std::isfinite(value)) return null();
    separate();
    appendNumber(out_, value);
    return *this;
}

JsonWriter& JsonWriter::number(float value) {
    if (!std::isfinite(value)) return null();
    separate();
    appendNumber(out_, value);
    return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
    separate();
    out_.append(value ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::null() {
    separate();
    out_.append("null");
    return *this;
}

}  // namespace ovelsk
