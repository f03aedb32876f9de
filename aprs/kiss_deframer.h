#pragma once
// KISS framing as a TNC sends it over TCP, read incrementally:
//   C0 00 <AX.25 frame with C0 sent as DB DC and DB sent as DB DD> C0
// FEND (C0) both ends a frame and starts the next, so runs of FENDs are empty
// frames and are skipped, bytes before the first FEND are noise, and a frame may
// be split over any number of reads. A frame with a broken escape, or longer than
// kMaxFrameBytes, is dropped and reading resumes at the next FEND.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

inline constexpr char kFend = '\xC0';
inline constexpr char kFesc = '\xDB';
inline constexpr char kTfend = '\xDC';
inline constexpr char kTfesc = '\xDD';

// One unescaped KISS frame: the command byte, then its payload.
struct KissFrame {
    std::uint8_t command = 0;
    std::string_view payload;

    // The TNC port is the command byte's high nibble, the frame type its low one.
    int port() const { return command >> 4; }
    bool isData() const { return (command & 0x0F) == 0; }
};

class KissDeframer {
public:
    // Room for a full AX.25 frame (10 addresses, control, PID, 256 bytes of
    // information) with ample margin for TNCs that allow longer ones.
    static constexpr std::size_t kMaxFrameBytes = 1024;

    using FrameHandler = std::function<void(const KissFrame& frame)>;

    void feed(std::string_view bytes, const FrameHandler& onFrame);

    // Forgets an unfinished frame, as when the connection it came from is gone.
    void reset();

    std::size_t droppedFrames() const { return droppedFrames_; }

private:
    void endFrame(const FrameHandler& onFrame);
    void dropFrame();

    std::string frame_;
    bool inFrame_ = false;   // a FEND has been seen; bytes belong to a frame
    bool escaped_ = false;   // the last byte was FESC
    std::size_t droppedFrames_ = 0;
};

}  // namespace ovelsk::aprs
