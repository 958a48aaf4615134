// CJ/T 188 frames for the exchange engine: FE wake-up bytes, then
// 68 T A0..A6 C L DATA CS 16 with CS the sum from 68 to the last data byte.
// C bits 7 and 6 set: the meter's error answer.
#pragma once

#include "core/Protocol.h"

namespace mb {

const Protocol& cj188Protocol();

}  // namespace mb
