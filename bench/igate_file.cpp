// links: ovelsk_host
// Rewriting the host's igate.ini after a list rebuild: 200 lines of the user's
// own settings around an [INET_TO_RF] section holding a block of 151 callsigns
// (a full station table).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/igate_file.h"
#include "host/igate_text.h"
#include "support/scratch_folder.h"

namespace {

constexpr int kUserLines = 200;
constexpr int kCandidates = 151;

std::vector<std::string> candidateRows(const std::string& prefix) {
    std::vector<std::string> rows;
    for (int i = 0; i < kCandidates; ++i) {
        rows.push_back("12.5\t" + prefix + std::to_string(i) + "-9\t\tnot heard via RF\t270");
    }
    return rows;
}

// A scratch folder holding the user's igate.ini with an Ovelsk block already in it.
class HostFolder {
    ovelsk::testing::ScratchFolder scratch_;

public:
    HostFolder() {
        std::string text;
        for (int i = 0; i < kUserLines; ++i) {
            if (i == kUserLines / 2) text += "[INET_TO_RF]\r\n";
            text += "USER" + std::to_string(i) + "=ALL\r\n";
        }
        ovelsk::testing::writeFile(scratch_ / "igate.ini", ovelsk::rewriteIgateText(text, candidateRows("G")));
    }

    const std::string path = scratch_.path().string();
};

// Gives the writer two different lists in turn, so every call has a change to write.
void writeAlternately(benchmark::State& state, ovelsk::IgateFile& writer) {
    const auto rowsA = candidateRows("DL");
    const auto rowsB = candidateRows("G");
    bool useA = true;
    for (auto _ : state) {
        writer.WriteIgateSection(useA ? rowsA : rowsB);
        useA = !useA;
    }
}

void rewriteEachTime(benchmark::State& state, bool flushToDisk) {
    HostFolder folder;
    std::string failure;
    ovelsk::IgateFile writer(folder.path, [&](const std::string& message) { failure = message; }, flushToDisk);
    writeAlternately(state, writer);
    if (!failure.empty()) state.SkipWithError(failure.c_str());
}

void BM_RewriteWithFlush(benchmark::State& state) { rewriteEachTime(state, true); }
void BM_RewriteWithoutFlush(benchmark::State& state) { rewriteEachTime(state, false); }

// The common case: a beacon that leaves the list as it was.
void BM_UnchangedContent(benchmark::State& state) {
    HostFolder folder;
    std::string failure;
    ovelsk::IgateFile writer(folder.path, [&](const std::string& message) { failure = message; });
    const auto rows = candidateRows("G");
    for (auto _ : state) writer.WriteIgateSection(rows);
    if (!failure.empty()) state.SkipWithError(failure.c_str());
}

// A 100 MB igate.ini (a sparse file here): refused from its size alone, never read.
void BM_OversizedFile(benchmark::State& state) {
    HostFolder folder;
    std::filesystem::resize_file(folder.path + "/igate.ini", 100'000'000);
    int reports = 0;
    ovelsk::IgateFile writer(folder.path, [&](const std::string&) { ++reports; });
    writeAlternately(state, writer);
    if (reports != 1) state.SkipWithError("the oversized file was not reported exactly once");
}

BENCHMARK(BM_RewriteWithFlush)->UseRealTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->DisplayAggregatesOnly();
BENCHMARK(BM_RewriteWithoutFlush)->UseRealTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->DisplayAggregatesOnly();
BENCHMARK(BM_UnchangedContent)->UseRealTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->DisplayAggregatesOnly();
BENCHMARK(BM_OversizedFile)->UseRealTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->DisplayAggregatesOnly();

}  // namespace
