#include "host/igate_text.h"

#include <algorithm>
#include <optional>

namespace ovelsk {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kAllSuffix = "=ALL";

// Takes the next line off `text`. Lines end at LF, and a CR right before the LF
// belongs to the ending; text after the last LF is a last line without one.
std::string_view takeLine(std::string_view& text) {
    const auto lf = text.find('\n');
    auto line = text.substr(0, lf);
    text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
    if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// Where the first line equal to `wanted` starts in `text`, or npos.
size_t findLine(std::string_view text, std::string_view wanted) {
    for (size_t at = text.find(wanted); at != std::string_view::npos; at = text.find(wanted, at + 1)) {
        const auto after = text.substr(at + wanted.size());
        const bool startsLine = at == 0 || text[at - 1] == '\n';
        const bool endsLine = after.empty() || after.starts_with('\n') || after.starts_with("\r\n");
        if (startsLine && endsLine) return at;
    }
    return std::string_view::npos;
}

// Whether a start marker followed by `rest` closes: an end marker comes before
// the next start marker. Only such a pair is a block of ours to replace.
// Looking only as far as the next start marker keeps a file full of start
// markers from being searched to its end once per marker.
bool blockClosesIn(std::string_view rest) {
    return findLine(rest.substr(0, findLine(rest, kIgateStartMarker)), kIgateEndMarker) != std::string_view::npos;
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

std::string rewriteIgateText(std::string_view current, const std::vector<std::string>& rows) {
    const std::string block = blockText(rows);
    std::string out;
    // Room for CRLF where the file had LF (a line is rarely shorter than 8 bytes) and one block.
    out.reserve(current.size() + current.size() / 8 + block.size() + 2);
    State state = State::Copying;
    for (std::string_view rest = current; !rest.empty();) {
        const auto line = takeLine(rest);
        if (line == kIgateStartMarker) {
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
        if (header) out += block;
    }
    return out;
}

bool isIgateHeader(std::string_view line) { return isHeader(line); }

}  // namespace ovelsk
