#pragma once
// A pseudo terminal standing in for a hardware TNC on a serial port: what the
// test writes to `master` the feed reads from the device at `slavePath`, and
// what the feed writes there the test reads from `master`.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace ovelsk::testing {

struct PseudoTerminal {
    PseudoTerminal() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0) slavePath = ::ptsname(master);
    }
    ~PseudoTerminal() { close(); }
    void write(std::string_view bytes) const { EXPECT_EQ(::write(master, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
    // Everything the feed wrote that can be read now.
    std::string readAll() const {
        std::string all;
        char buffer[4096];
        for (ssize_t count; (count = ::read(master, buffer, sizeof buffer)) > 0;) all.append(buffer, std::size_t(count));
        return all;
    }
    void close() {
        if (master >= 0) ::close(master);
        master = -1;
    }

    int master = -1;
    std::string slavePath;
};

}  // namespace ovelsk::testing
