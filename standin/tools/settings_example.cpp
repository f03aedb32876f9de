// Writes the example host settings file that the package installs with the
// documentation: the file a first start writes, for a user "me".
//   ovelsk-settings-example OUTPUT

#include <cstdio>

#include "host/atomic_file.h"
#include "standin/first_start.h"

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: ovelsk-settings-example OUTPUT\n", stderr);
        return 2;
    }
    const std::filesystem::path output = argv[1];
    auto temp = output;
    temp += ".tmp";
    const auto text = ovelsk::standin::firstStartSettingsText("/home/me/.local/share/ovelsk/host/");
    if (const auto error = ovelsk::replaceFileAtomically(output, temp, text, false)) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[1], error->reason.c_str());
        return 1;
    }
    return 0;
}
