// ovelsk-decode: reads TNC2 packets from standard input, one a line (LF or CRLF),
// and prints for each, tab-separated, what the host would make of it:
//   OK    callsign  path  latitude  longitude      (6 decimals, north and east positive)
//   DROP  reason
// It runs the decoder the host itself uses.

#include "aprs/decode_report.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/types.h>
#include <string>
#include <string_view>

namespace {

constexpr char kUsage[] =
    "Usage: ovelsk-decode [--help] [--version] < PACKETS\n"
    "Reads TNC2 packets (SOURCE>DEST,PATH:INFO), one a line, on standard input and\n"
    "prints what Ovelsk's decoder makes of each, tab-separated:\n"
    "  OK    callsign  path  latitude  longitude\n"
    "  DROP  reason\n"
    "More in the manual page ovelsk-decode(1).\n";

constexpr int kUsageExitStatus = 2;

// Output that did not arrive in full (a full disk, a closed pipe) is a failure,
// said on standard error: a report cut short must not pass for a whole one.
int finishOutput()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) {
        return 0;
    }
    const int error = errno;
    std::fprintf(stderr, "ovelsk-decode: cannot write to standard output: %s\n", std::strerror(error));
    return 1;
}

}  // namespace

int main(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return finishOutput();
        }
        if (arg == "-v" || arg == "--version") {
            std::puts("ovelsk-decode " OVELSK_VERSION);
            return finishOutput();
        }
        std::fprintf(stderr, "ovelsk-decode: unknown argument '%s'\n\n%s", argv[i], kUsage);
        return kUsageExitStatus;
    }

    // Lines are read whole as raw bytes: a packet may hold any byte but a line
    // feed, NUL included, and getline gives the length, so a NUL ends nothing.
    char* buffer = nullptr;
    std::size_t capacity = 0;
    for (ssize_t length; (length = ::getline(&buffer, &capacity, stdin)) > 0;) {
        std::string_view line(buffer, static_cast<std::size_t>(length));
        if (line.back() == '\n') {
            line.remove_suffix(1);
        }
        if (std::puts(ovelsk::aprs::decodeReportLine(line).c_str()) == EOF) {
            break;
        }
    }
    std::free(buffer);
    return finishOutput();
}
