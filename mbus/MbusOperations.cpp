#include "mbus/MbusOperations.h"

#include "mbus/MbusLongFrameParser.h"
#include "mbus/MbusRequests.h"

namespace mb {

Transmission mbusReadData(ProtocolCore& core, std::string_view deviceId) {
    Transmission t = core.transmitFrame(buildMbusReadData(core.txBuffer(), deviceId));
    core.awaitReply(&kMbusLongFrameShape);
    return t;
}

Transmission mbusModifyId(ProtocolCore& core, std::string_view newAddress) {
    Transmission t = core.transmitFrame(buildMbusModifyId(core.txBuffer(), newAddress));
    core.awaitReply(nullptr);
    return t;
}

}  // namespace mb
