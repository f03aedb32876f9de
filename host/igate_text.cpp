#include "host/igate_text.h"

#include <algorithm>
#include <optional>

namespace ovelsk {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kAllSuffix = "=ALL";

// Whether a start marker followed by `rest` closes: an end marker comes before
// the next start marker. Only such a pair is a block of ours to replace.
// Looking only as far as the next start marker keeps a file full of start
// markers from being searched to its end once per marker.
bool blockClosesIn(std::string_view rest) {
    while (!rest.empty()) {
        const auto line = takeIgateLine(rest);
        if (line == kIgateEndMarker) return true;
        if (line == kIgateStartMarker) return false;
    }
    return false;
}

bool hasAny(std::string_view text, std::string_view characters) {
    return std::any_of(text.begin(), text.end(), [&](char c) {
        return std::any_of(characters.begin(), characters.end(), [c](char k) { return c == k; });
    });
}

bool isHeader(std::string_view line) {
    const auto first = line.find_first_not_of(' ');
    if (first == std::string_view::npos) return false;
    const auto last = line.find_last_not_of(' ');
    return line.substr(first, last - first + 1) == kIgateHeader;
}

// "G4ABC-9=ALL": what Ovelsk writes inside its block.
bool isCallsignLine(std::string_view line) {
    if (line.size() <= kAllSuffix.size() || !line.ends_with(kAllSuffix)) return false;
    const auto callsign = line.substr(0, line.size() - kAllSuffix.size());
    return !hasAny(callsign, "= \t");
}

// Field 2 of a tab-separated row; nothing for a row without one, or with a
// field that could not stand as one line of the file.
std::optional<std::string_view> rowCallsign(std::string_view row) {
    const auto tab = row.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    auto field = row.substr(tab + 1);
    field = field.substr(0, field.find('\t'));
    if (field.empty() || hasAny(field, "\r\n")) return std::nullopt;
    return field;
}

void appendLine(std::string& out, std::string_view line) {
    out += line;
    out += kLineEnd;
}

std::string blockText(const std::vector<std::string>& rows) {
    std::string block;
    appendLine(block, kIgateStartMarker);
    for (const auto& row : rows) {
        if (const auto callsign = rowCallsign(row)) {
            block += *callsign;
            appendLine(block, kAllSuffix);
        }
    }
    appendLine(block, kIgateEndMarker);
    return block;
}

enum class State { Copying, SkippingBlock, DroppingOrphanCallsigns };

}  // namespace

std::string_view takeIgateLine(std::string_view& text) {
    const auto end = text.find_first_of("\r\n");
    const auto line = text.substr(0, end);
    size_t ending = 0;
    if (end != std::string_view::npos) {
        const auto rest = text.substr(end);
        ending = rest.starts_with("\r\r\n") ? 3 : rest.starts_with("\r\n") ? 2 : 1;
    }
    text.remove_prefix(line.size() + ending);
    return line;
}

std::string rewriteIgateText(std::string_view current, const std::vector<std::string>& rows) {
    const std::string block = blockText(rows);
    std::string out;
    // Room for CRLF where the file had LF (a line is rarely shorter than 8 bytes) and one block.
    out.reserve(current.size() + current.size() / 8 + block.size() + 2);
    bool ours = false;  // a header or a block of ours was found
    State state = State::Copying;
    for (std::string_view rest = current; !rest.empty();) {
        const auto line = takeIgateLine(rest);
        if (line == kIgateStartMarker) {
            ours = true;
            state = blockClosesIn(rest) ? State::SkippingBlock : State::DroppingOrphanCallsigns;
            continue;
        }
        if (state == State::DroppingOrphanCallsigns) {
            if (isCallsignLine(line)) continue;
            state = State::Copying;
        }
        const bool header = isHeader(line);
        if (state == State::SkippingBlock) {
            if (line == kIgateEndMarker) {
                state = State::Copying;
                continue;
            }
            // A header found inside an old block is the user's: keep it, or the
            // section would lose its header and with it every later block.
            if (!header) continue;
        }
        appendLine(out, line);
        if (header) {
            ours = true;
            out += block;
        }
    }
    return ours ? out : std::string(current);
}

bool isIgateHeader(std::string_view line) { return isHeader(line); }

}  // namespace ovelsk
