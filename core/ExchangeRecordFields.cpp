#include "core/ExchangeRecordFields.h"

#include "core/JsonText.h"
#include "core/Protocol.h"
#include "core/ReadingJson.h"

namespace mb {

std::string exchangeRecordMembers(const ExchangeResult& result) {
    std::string out = ", \"verdict\": \"" + std::string(verdictName(result.verdict)) + '"';
    if (result.request.protocol) out += ", \"protocol\": " + jsonQuoted(result.request.protocol->name());
    if (result.replyTime) out += ", \"reply_us\": " + std::to_string(result.replyTime->count());
    if (result.late) out += ", \"late\": true";
    if (!result.reading.protocol.empty()) out += ", \"reading\": " + readingJson(result.reading);
    return out;
}

}  // namespace mb
