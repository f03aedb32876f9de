#pragma once
// The window and gateway section as a benchmark of station tracking needs them:
// a range of 40, and nothing shown or written.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "host/gateway_section.h"
#include "stations/tracker_window.h"

namespace ovelsk {

class QuietWindow final : public TrackerWindow {
public:
    std::string rangeText() const override { return "40"; }
    void setStatus(const std::string&) override {}
    void replaceCandidateRows(const std::vector<std::string>& rows) override { benchmark::DoNotOptimize(rows.data()); }
};

class NoGateway final : public GatewaySection {
public:
    void WriteIgateSection(const std::vector<std::string>&) override {}
};

}  // namespace ovelsk
