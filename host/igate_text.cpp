#include "host/igate_text.h"

#include <optional>

namespace ovelsk {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kAllSuffix = "=ALL";

// Splits at LF; a CR right before the LF belongs to the line ending. Text after
// the last LF is a last line without an ending.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto lf = text.find('\n');
        if (lf == std::string_view::npos) {
            lines.push_back(text);
            break;
        }
        auto line = text.substr(0, lf);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(lf + 1);
    }
    return lines;
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
    return callsign.find_first_of("= \t") == std::string_view::npos;
}

// Field 2 of a tab-separated row; nothing for a row without one, or with a
// field that could not stand as one line of the file.
std::optional<std::string_view> rowCallsign(std::string_view row) {
    const auto tab = row.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    auto field = row.substr(tab + 1);
    field = field.substr(0, field.find('\t'));
    if (field.empty() || field.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
    return field;
}

// For each start marker: whether an end marker follows before the next start
// marker. Only such a pair is a block of ours to replace.
std::vector<bool> closedStartMarkers(const std::vector<std::string_view>& lines) {
    std::vector<bool> closed(lines.size(), false);
    bool endAhead = false;
    for (size_t i = lines.size(); i-- > 0;) {
        if (lines[i] == kIgateEndMarker) {
            endAhead = true;
        } else if (lines[i] == kIgateStartMarker) {
            closed[i] = endAhead;
            endAhead = false;
        }
    }
    return closed;
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

std::string rewriteIgateText(std::string_view current, const std::vector<std::string>& rows) {
    const auto lines = splitLines(current);
    const auto closed = closedStartMarkers(lines);
    const std::string block = blockText(rows);

    std::string out;
    out.reserve(current.size() + lines.size() + block.size());
    State state = State::Copying;
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto line = lines[i];
        if (line == kIgateStartMarker) {
            state = closed[i] ? State::SkippingBlock : State::DroppingOrphanCallsigns;
            continue;
        }
        if (state == State::DroppingOrphanCallsigns) {
            if (isCallsignLine(line)) continue;
            state = State::Copying;
        }
        if (state == State::SkippingBlock) {
            if (line == kIgateEndMarker) {
                state = State::Copying;
                continue;
            }
            // A header found inside an old block is the user's: keep it, or the
            // section would lose its header and with it every later block.
            if (!isHeader(line)) continue;
        }
        appendLine(out, line);
        if (isHeader(line)) out += block;
    }
    return out;
}

}  // namespace ovelsk
