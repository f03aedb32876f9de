// links: ovelsk_aprs
// Decoder throughput on a mix like a busy APRS-IS feed: mostly plain, Mic-E and
// compressed positions, with the messages, status, objects, telemetry, weather,
// third-party frames and junk that arrive between them.

#include "aprs/packet_decoder.h"

#include <benchmark/benchmark.h>

#include <string_view>
#include <vector>

namespace {

using ovelsk::aprs::decodePacket;

const std::vector<std::string_view> kMixedFeed = {
    "N0CALL-9>APRS,WIDE1-1,WIDE2-1,qAR,N1GATE:!4903.50N/07201.75W-PHG2360/Home",
    "DL1ABC-7>APDR16,TCPIP*,qAC,T2GERMANY:=5230.59N/01324.05E>088/036/A=000120 APRSdroid",
    "VK2XYZ-9>S3PY5P,WIDE1-1,WIDE2-1,qAR,VK2RHR-2:`O(:l\x1c\x1c>/]\"4T}=",
    "W1ABC-5>T7SVWV,W1DIG*,WIDE2-1,qAR,N1GATE-10:`c52l\"R>/`\"4-}_%",
    "KB3XYZ-14>APOT30,WIDE2-1,qAR,W3GATE:!/:Gv<T&z_k7G/A=000380 12.9V",
    "OH7LZB-10>APRX29,TCPIP*,qAC,T2FINLAND:!6250.10N/02742.55E#PHG5130 digi",
    "G4ABC>APU25N,TCPIP*,qAC,T2UK:@081030z5130.12N/00007.80W_220/004g005t045r000p000P000h90b10132",
    "N1GATE>APRS,WIDE2-1:}N0CALL>APRS,TCPIP,N1GATE*:!4903.50N/07201.75W-inner",
    "KD4ABC-2>APN391,WIDE2-1,qAR,K4GATE::N0CALL-9 :Meet at the repeater{42",
    "VE3XYZ>APWW11,TCPIP*,qAC,T2CAN:>Listening on 146.520",
    "EA4ABC-3>APMI06,TCPIP*,qAC,T2SPAIN:;HAMFEST  *081030z4025.21N/00342.10WrSunday",
    "ZS6ABC-11>APRS,TCPIP*,qAC,T2SOUTHAF:T#005,199,000,255,073,123,01101001",
    "PY2ABC-9>APRS,qAR,PY2GATE:$GPRMC,123519,A,2332.97,S,04638.01,W,022.4,084.4,230394,003.1,W*79",
    "JA1ABC-9>SY2V7Z,WIDE1-1,qAR,JA1GATE:'P%]l |j/]=",
    "LU1ABC>APRS,TCPIP*,qAC,T2ARG:/092345z3436.00S/05823.00W>Buenos Aires",
    "CW1234>APRS,TCPIP*,qAC,CWOP-4:_10090556c220s004g005t077r000p000P000h50b09900",
    "N6ABC-12>APRS,WIDE2-1,qAO,N6GATE:!3403.00N/11814.40W>123/045/A=002031",
    "SM5ABC-7>APK102,SK5DIG*,WIDE2-1,qAR,SM5GATE:=5920.12N/01803.61E[/A=000046",
    "9V1ABC>APRS,TCPIP*,qAC,T2ASIA:<IGATE,MSG_CNT=12,LOC_CNT=40",
    "broken line without a header",
};

void decodeAll(benchmark::State& state, const std::vector<std::string_view>& packets)
{
    for (auto _ : state) {
        for (const std::string_view packet : packets) {
            benchmark::DoNotOptimize(decodePacket(packet));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * packets.size()));
}

void BM_MixedFeed(benchmark::State& state) { decodeAll(state, kMixedFeed); }
BENCHMARK(BM_MixedFeed);

void BM_UncompressedOnly(benchmark::State& state)
{
    decodeAll(state, {"N0CALL-9>APRS,WIDE1-1,WIDE2-1,qAR,N1GATE:!4903.50N/07201.75W-PHG2360/Home"});
}
BENCHMARK(BM_UncompressedOnly);

void BM_MicEOnly(benchmark::State& state)
{
    decodeAll(state, {"VK2XYZ-9>S3PY5P,WIDE1-1,WIDE2-1,qAR,VK2RHR-2:`O(:l\x1c\x1c>/]\"4T}="});
}
BENCHMARK(BM_MicEOnly);

void BM_CompressedOnly(benchmark::State& state)
{
    decodeAll(state, {"KB3XYZ-14>APOT30,WIDE2-1,qAR,W3GATE:!/:Gv<T&z_k7G/A=000380 12.9V"});
}
BENCHMARK(BM_CompressedOnly);

}  // namespace
