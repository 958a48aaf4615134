// The EN1434 page's M-Bus requests as whole operations on the shared core:
// build the frame in the core's TxBuffer, make its pane text and read-back,
// and await the reply. The window's own steps follow in the page.
#pragma once

#include <string_view>

#include "core/ProtocolCore.h"

namespace mb {

// REQ_UD2 to the primary address in `deviceId`: arms the long-frame parser.
Transmission mbusReadData(ProtocolCore& core, std::string_view deviceId);
// SND_UD to 254 giving the meter `newAddress`: awaits a reply but leaves the
// armed parser as it is (the E5 acknowledgement is only echoed).
Transmission mbusModifyId(ProtocolCore& core, std::string_view newAddress);

}  // namespace mb
