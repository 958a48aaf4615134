// The virtual meters on one line: a CJ/T 188 water and heat meter and one or
// more M-Bus meters behind one request scanner, with the fault shaping applied
// to every answer.
#pragma once

#include <string>
#include <vector>

#include "tools/sim/cj188_meter.h"
#include "tools/sim/date_time.h"
#include "tools/sim/fault_shaper.h"
#include "tools/sim/mbus_meter.h"
#include "tools/sim/request_scanner.h"

namespace mb::sim {

struct SimSettings {
    Cj188Settings cj188;
    Cj188Settings cj188Heat = cj188HeatDefaults();
    // The first M-Bus meter; the others follow at the next primary addresses
    // with the next identification numbers.
    MbusSettings mbus;
    unsigned mbusMeters = 1;
    // CJ/T 188 water meters: the first at cj188.address, the others with the
    // tens digit of the address counting up (…10, …20).
    unsigned cj188Meters = 1;
    FaultSettings faults;
};

struct Exchange {
    Bytes request;            // the recognised frame, start byte to stop byte
    std::string what;         // e.g. "cj188 read-data", "mbus req-ud2", "ignored cj188"
    bool answered = false;    // false: not addressed to these meters, nothing is sent
    std::vector<Chunk> plan;  // what to write, chunk by chunk (empty when unanswered)
    std::string note;         // faults applied or state changed; empty when none
    std::vector<std::string> answeredBy;  // names of the meters that answered, line order
    unsigned newLineBaud = 0;  // a baud switch was acknowledged: the line follows after the answer
};

class Session {
  public:
    explicit Session(SimSettings settings);

    // Feeds bytes read from the line; returns one exchange per request they complete.
    std::vector<Exchange> feed(const std::uint8_t* data, std::size_t size, const DateTime& now);
    std::vector<Exchange> feed(const Bytes& bytes, const DateTime& now) {
        return feed(bytes.data(), bytes.size(), now);
    }

    // The rate the line runs at now; a meter switched to another rate stays silent.
    void hearAt(unsigned baud) {
        for (MbusMeter& m : mbus_) m.hearAt(baud);
    }

    // Whether the line returns every byte it carries at once (fault echo).
    bool echoes() const { return shaper_.settings().has(Fault::Echo); }

    const Cj188Meter& cj188() const { return cj188Water_.front(); }
    const Cj188Meter& cj188Heat() const { return cj188Heat_; }
    const MbusMeter& mbus() const { return mbus_.front(); }
    const std::vector<MbusMeter>& mbusMeters() const { return mbus_; }

  private:
    void handleCj188(const ScannedFrame& frame, const DateTime& now, Exchange& exchange,
                     Bytes& reply);
    void handleMbus(const ScannedFrame& frame, const DateTime& now, Exchange& exchange,
                    Bytes& reply);
    Exchange handle(const ScannedFrame& frame, const DateTime& now);

    RequestScanner scanner_;
    std::vector<Cj188Meter> cj188Water_;
    Cj188Meter cj188Heat_;
    std::vector<MbusMeter> mbus_;
    FaultShaper shaper_;
};

}  // namespace mb::sim
