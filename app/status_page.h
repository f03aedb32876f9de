#pragma once
// The status page beside the window, for headless and windowed runs alike, as
// the host's Status Page setting asks: none when it is off. An address other
// than loopback is allowed with a warning on the log; an address that cannot be
// listened on is logged as an error and the iGate carries on without the page.

#include <memory>

#include "app/form1.h"
#include "status/status_server.h"

namespace ovelsk {

// After form.Form_Load(); null when there is no page. The page reads the form's
// host and tracker, so it must go before the form does.
std::unique_ptr<StatusServer> startStatusPage(const Form1& form);

}  // namespace ovelsk
