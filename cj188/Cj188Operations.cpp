#include "cj188/Cj188Operations.h"

#include "cj188/Cj188ReplyParser.h"

namespace mb {

Transmission cj188ReadData(ProtocolCore& core, const Cj188Fields& fields) {
    Transmission t = core.transmitFrame(buildCj188ReadData(core.txBuffer(), fields));
    core.awaitReply(&kCj188ReplyShape);
    return t;
}

Transmission cj188ReadId(ProtocolCore& core, std::string_view meterType) {
    Transmission t = core.transmitFrame(buildCj188ReadId(core.txBuffer(), meterType));
    core.awaitReply(nullptr);
    return t;
}

}  // namespace mb
