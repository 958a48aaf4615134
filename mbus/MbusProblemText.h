// The words of what kept an M-Bus frame or record from decoding, made from
// the problem codes the decoder keeps.
#pragma once

#include <string>

#include "mbus/MbusValues.h"
#include "mbus/VifTable.h"

namespace mb {

// Why the frame is no frame or failed its check ("checksum 12 != computed 34").
void appendFrameProblem(std::string& out, const MbusValues& values);

// Why the record could not be decoded; `vif` is its VIF block read again
// (the problem MbusProblem::Vif names).
void appendRecordProblem(std::string& out, const MbusRecord& record, const VifBlock& vif);

}  // namespace mb
