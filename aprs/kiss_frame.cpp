#include "aprs/kiss_frame.h"

#include "aprs/kiss_deframer.h"

namespace ovelsk::aprs {
namespace {

void appendEscaped(std::string& out, char byte) {
    if (byte == kFend) {
        out.push_back(kFesc);
        out.push_back(kTfend);
    } else if (byte == kFesc) {
        out.push_back(kFesc);
        out.push_back(kTfesc);
    } else {
        out.push_back(byte);
    }
}

}  // namespace

std::string kissDataFrame(int port, std::string_view ax25Frame) {
    std::string out;
    out.reserve(ax25Frame.size() + ax25Frame.size() / 8 + 4);
    out.push_back(kFend);
    // The command byte is escaped like the rest: port 12 makes it C0.
    appendEscaped(out, static_cast<char>((port & 0x0F) << 4));
    constexpr char kSpecial[] = {kFend, kFesc};
    while (!ax25Frame.empty()) {
        const auto special = ax25Frame.find_first_of(std::string_view(kSpecial, 2));
        out.append(ax25Frame.substr(0, special));
        if (special == std::string_view::npos) break;
        appendEscaped(out, ax25Frame[special]);
        ax25Frame.remove_prefix(special + 1);
    }
    out.push_back(kFend);
    return out;
}

}  // namespace ovelsk::aprs
