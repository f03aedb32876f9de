#include "feeds/replay_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace ovelsk::aprs {

std::size_t TextReplaySource::read(char* into, std::size_t max) {
    const std::size_t count = std::min(max, text_.size() - offset_);
    std::memcpy(into, text_.data() + offset_, count);
    offset_ += count;
    return count;
}

std::unique_ptr<FileReplaySource> FileReplaySource::open(const std::filesystem::path& file, std::string* error) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (std::filesystem::is_directory(status)) {
        if (error) *error = "it is a folder";
        return nullptr;
    }
    // A device never ends and a pipe may block the open itself: only files are played.
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        if (error) *error = "it is not a regular file but a device, pipe or socket";
        return nullptr;
    }
    auto source = std::make_unique<FileReplaySource>();
    source->stream_.open(file, std::ios::binary);
    if (!source->stream_) {
        if (error) *error = std::strerror(errno);
        return nullptr;
    }
    return source;
}

std::size_t FileReplaySource::read(char* into, std::size_t max) {
    stream_.read(into, static_cast<std::streamsize>(max));
    return static_cast<std::size_t>(stream_.gcount());
}

void FileReplaySource::rewind() {
    stream_.clear();
    stream_.seekg(0);
}

}  // namespace ovelsk::aprs
