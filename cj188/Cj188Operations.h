// The CJ188 page's requests as whole operations on the shared core: build the
// frame in the core's TxBuffer, make its pane text and read-back, and await the
// reply. The window's own steps (pane, prompt, write, count) follow in the page.
#pragma once

#include <string_view>

#include "cj188/Cj188Requests.h"
#include "core/ProtocolCore.h"

namespace mb {

// Read Data: arms the CJ/T 188 reply parser.
Transmission cj188ReadData(ProtocolCore& core, const Cj188Fields& fields);
// Read ID: awaits a reply but leaves the armed parser as it is (the answer is echoed only).
Transmission cj188ReadId(ProtocolCore& core, std::string_view meterType);

}  // namespace mb
