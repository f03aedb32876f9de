#pragma once
// What one client may hold of the status page's server, and for how long.

#include <chrono>
#include <cstddef>

namespace ovelsk {

struct ServerLimits {
    // Connections open at once; one more is answered 503 and closed.
    int connections = 16;
    // From a request's first byte until its request line and headers are whole.
    std::chrono::milliseconds requestDeadline = std::chrono::seconds(10);
    // A connection that sends no byte of a next request for this long is closed.
    std::chrono::milliseconds idle = std::chrono::seconds(10);
    // A client that has not taken its whole answer in this time is closed.
    std::chrono::milliseconds answerDeadline = std::chrono::seconds(30);
    // The request line and headers; more is answered 431.
    std::size_t headerBytes = 8 * 1024;
    // The bytes read ahead of the request being answered (pipelined requests).
    std::size_t readAhead = 16 * 1024;
    // A snapshot older than this is rebuilt when a request asks for it.
    std::chrono::milliseconds snapshotAge = std::chrono::seconds(1);
    // How long a request that found the snapshot old waits for the new one
    // before it is answered with the old.
    std::chrono::milliseconds freshWait = std::chrono::milliseconds(50);
};

}  // namespace ovelsk
