// Finds M-Bus meters by their identification number without knowing their
// primary addresses: select with wildcards; where several meters answer, fix
// the next identification digit to 0..9 in turn and ask again.
#pragma once

#include <functional>
#include <vector>

#include "cli/BusProbe.h"
#include "cli/Output.h"
#include "mbus/MbusRequests.h"

namespace mb::cli {

class SecondarySearch {
  public:
    SecondarySearch(LineSession& session, int waitOverrideMs) : session_(session), waitMs_(waitOverrideMs) {}

    std::vector<FoundMeter> run();
    int selections() const { return selections_; }

  private:
    void search(SecondaryMask mask, std::size_t digit);
    void readSelected(const SecondaryMask& mask);

    LineSession& session_;
    int waitMs_;
    int selections_ = 0;
    std::vector<FoundMeter> found_;
};

}  // namespace mb::cli
