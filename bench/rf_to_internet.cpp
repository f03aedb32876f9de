// links: ovelsk_aprs
// The radio-to-Internet decision for each packet a TNC hears, beside the
// decoding every such packet gets anyway, on a mix of what a busy channel
// carries: direct and digipeated positions, Mic-E, third-party frames, queries
// and packets that must stay on radio.

#include "aprs/packet_decoder.h"
#include "aprs/rf_to_internet.h"

#include <benchmark/benchmark.h>

#include <string_view>
#include <vector>

namespace {

const std::vector<std::string_view> kHeardOnRadio = {
    "N0CALL-9>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-PHG2360/Home",
    "N0CALL-7>APRS,N1DIGI*,WIDE2-1:!4905.50N/07203.75W>digipeated",
    "W1ABC-5>T7SVWV,W1DIG*,WIDE2-1:`c52l\"R>/`\"4-}_%",
    "KB3XYZ-14>APOT30,WIDE2-1:!/:Gv<T&z_k7G/A=000380 12.9V",
    "N1GATE>APRS,WIDE2-1:}N0CALL>APRS,TCPIP,N1GATE*:!4903.50N/07201.75W-inner",
    "N1GATE>APRS,WIDE2-1:}W1ABC-5>APRS,WIDE1-1*:>gated from radio",
    "KD4ABC-2>APN391,WIDE2-1::N0CALL-9 :Meet at the repeater{42",
    "N0CALL>APRS,RFONLY:>local only",
    "N0CALL-3>APRS:?APRS?",
    "G4ABC>APU25N,WIDE2-2:@081030z5130.12N/00007.80W_220/004g005t045r000p000P000h90b10132",
};

void BM_DecodeHeardPackets(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string_view packet : kHeardOnRadio) benchmark::DoNotOptimize(ovelsk::aprs::decodePacket(packet));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kHeardOnRadio.size()));
}
BENCHMARK(BM_DecodeHeardPackets);

void BM_GateHeardPacketsToInternet(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string_view packet : kHeardOnRadio)
            benchmark::DoNotOptimize(ovelsk::aprs::gateToInternet(packet, "N0CALL-10", ovelsk::aprs::IgateKind::TwoWay));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kHeardOnRadio.size()));
}
BENCHMARK(BM_GateHeardPacketsToInternet);

}  // namespace
