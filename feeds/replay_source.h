#pragma once
// Where a replay feed reads its lines from: a file, or text built into the program.

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

class ReplaySource {
public:
    virtual ~ReplaySource() = default;
    // Up to `max` bytes into `into`; 0 at the end.
    virtual std::size_t read(char* into, std::size_t max) = 0;
    // Back to the first byte, for playing it again.
    virtual void rewind() = 0;
};

class TextReplaySource final : public ReplaySource {
public:
    explicit TextReplaySource(std::string_view text) : text_(text) {}
    std::size_t read(char* into, std::size_t max) override;
    void rewind() override { offset_ = 0; }

private:
    std::string_view text_;
    std::size_t offset_ = 0;
};

class FileReplaySource final : public ReplaySource {
public:
    // nullptr and `error` set when the file is not a regular file or cannot be
    // opened for reading.
    static std::unique_ptr<FileReplaySource> open(const std::filesystem::path& file, std::string* error);
    std::size_t read(char* into, std::size_t max) override;
    void rewind() override;

private:
    std::ifstream stream_;
};

}  // namespace ovelsk::aprs
