#pragma once
// What the network feeds promise for any bytes a server or TNC may send: the
// framers keep their caps, the result does not depend on how the bytes were
// split into reads, and every AX.25 frame they pass on becomes a TNC2 header
// that the decoder can split safely. Shared by the fuzz target and the test
// that replays its corpus; returns what was broken, or nothing.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "aprs/ax25_frame.h"
#include "aprs/kiss_deframer.h"
#include "aprs/aprs_is_login.h"
#include "feeds/line_reader.h"

namespace ovelsk::aprs::fuzzing {

struct Framed {
    std::vector<std::string> lines;
    std::vector<std::string> packets;  // TNC2 text of the KISS data frames
};

inline Framed frameInReads(std::string_view bytes, std::size_t readSize) {
    Framed framed;
    LineReader lines(kAprsIsMaxLineBytes);
    KissDeframer frames;
    const auto onFrame = [&](const KissFrame& frame) {
        if (frame.payload.size() + 1 > KissDeframer::kMaxFrameBytes) {
            framed.packets.push_back("OVER THE FRAME CAP");
        } else if (auto text = ax25UiFrameToTnc2(frame.payload); text && frame.isData()) {
            framed.packets.push_back(std::move(*text));
        }
    };
    for (std::size_t at = 0; at < bytes.size(); at += readSize) {
        lines.feed(bytes.substr(at, readSize));
        while (const auto line = lines.nextLine()) {
            framed.lines.emplace_back(*line);
        }
        frames.feed(bytes.substr(at, readSize), onFrame);
    }
    return framed;
}

inline std::string brokenPromise(std::string_view bytes) {
    const Framed whole = frameInReads(bytes, bytes.size() + 1);
    const std::size_t readSize = bytes.empty() ? 1 : 1 + static_cast<unsigned char>(bytes.front()) % 7;
    const Framed pieces = frameInReads(bytes, readSize);
    if (whole.lines != pieces.lines || whole.packets != pieces.packets) {
        return "the result depends on how the bytes were split";
    }
    for (const auto& line : whole.lines) {
        if (line.size() > kAprsIsMaxLineBytes || line.find('\n') != std::string::npos) {
            return "a line breaks the line rules: " + line;
        }
    }
    for (const auto& packet : whole.packets) {
        const auto colon = packet.find(':');
        const std::string_view header = std::string_view(packet).substr(0, colon);
        if (colon == std::string::npos || header.find('>') == std::string_view::npos ||
            header.find_first_of(" \r\n:") != std::string_view::npos) {
            return "a frame gave a broken TNC2 header: " + packet;
        }
        std::size_t digipeaters = 0;
        for (const char c : header) {
            digipeaters += c == ',';
        }
        if (digipeaters > static_cast<std::size_t>(kMaxDigipeaters)) {
            return "a frame gave more than 8 digipeaters: " + packet;
        }
    }
    return {};
}

}  // namespace ovelsk::aprs::fuzzing
