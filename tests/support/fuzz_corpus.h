#pragma once
// The saved inputs of a fuzz target (fuzz/corpus/NAME/), so that every input the
// fuzzer found interesting keeps being checked in ordinary and sanitizer runs.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace ovelsk::testing {

struct FuzzInput {
    std::string name;
    std::string bytes;
};

inline std::vector<FuzzInput> fuzzCorpus(std::string_view target) {
    std::vector<FuzzInput> inputs;
    const auto folder = std::filesystem::path(OVELSK_SOURCE_DIR) / "fuzz/corpus" / target;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        std::ifstream in(entry.path(), std::ios::binary);
        inputs.push_back({entry.path().filename().string(),
                          std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())});
    }
    return inputs;
}

}  // namespace ovelsk::testing
