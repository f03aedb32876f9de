#pragma once
// The status page beside the window, for headless and windowed runs alike, as
// the host's Status Page setting asks: none when it is off. An address other
// than loopback is allowed with a warning on the log; an address that cannot be
// listened on is logged as an error and the iGate carries on without the page.

#include <memory>

#include "app/companion.h"
#include "status/status_server.h"

namespace ovelsk {

// After the companion has started; null when there is no page. The page reads
// the companion's host and tracker, so it must go before the companion does.
std::unique_ptr<StatusServer> startStatusPage(const Companion& form);

// The address the page is served at ("http://127.0.0.1:8080/").
std::string statusPageUrl(const Companion& form, const StatusServer& server);

}  // namespace ovelsk
