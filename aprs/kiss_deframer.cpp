#include "aprs/kiss_deframer.h"

namespace ovelsk::aprs {

void KissDeframer::feed(std::string_view bytes, const FrameHandler& onFrame) {
    for (const char byte : bytes) {
        if (byte == kFend) {
            endFrame(onFrame);
            continue;
        }
        if (!inFrame_) {
            continue;
        }
        char unescaped = byte;
        if (escaped_) {
            escaped_ = false;
            if (byte == kTfend) {
                unescaped = kFend;
            } else if (byte == kTfesc) {
                unescaped = kFesc;
            } else {
                dropFrame();
                continue;
            }
        } else if (byte == kFesc) {
            escaped_ = true;
            continue;
        }
        if (frame_.size() == kMaxFrameBytes) {
            dropFrame();
            continue;
        }
        frame_.push_back(unescaped);
    }
}

void KissDeframer::endFrame(const FrameHandler& onFrame) {
    if (inFrame_ && escaped_) {
        ++droppedFrames_;
    } else if (inFrame_ && !frame_.empty()) {
        const std::string_view frame = frame_;
        onFrame(KissFrame{static_cast<std::uint8_t>(frame.front()), frame.substr(1)});
    }
    frame_.clear();
    inFrame_ = true;
    escaped_ = false;
}

void KissDeframer::dropFrame() {
    ++droppedFrames_;
    frame_.clear();
    inFrame_ = false;
    escaped_ = false;
}

void KissDeframer::reset() {
    frame_.clear();
    inFrame_ = false;
    escaped_ = false;
}

}  // namespace ovelsk::aprs
