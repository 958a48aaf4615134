// CJ/T 188 requests of the CJ188 page: Read Data (C=01, DI 901F) and Read ID
// (C=03, DI 810A, wildcard address). Both are 19 bytes at TxBuffer[0..18]:
// FE FE FE 68 T A0..A6 C 03 DI0 DI1 01 CS 16, CS = sum of [3..16] mod 256.
#pragma once

#include <string>
#include <string_view>

#include "cj188/TxBuffer.h"

namespace mb {

inline constexpr int kCj188LastIndex = 18;

// The texts of the CJ188 page's inputs, exactly as the fields hold them.
struct Cj188Fields {
    std::string Text1;   // "DEVICE ID": meter number, up to 10 decimal digits
    std::string Text3;   // first "Vendor Code" box: address byte A5
    std::string Text2;   // second "Vendor Code" box: address byte A6
    std::string Combo7;  // "Meter Type", e.g. " - 10H": T from characters 4 and 5
};

// Builds Read Data in tx[0..18]; returns the last index (18). A field piece that
// HexPairToByte refuses leaves the byte tx already held at that index; the
// checksum is always formed over the bytes as they stand.
int BuildCj188ReadData(TxBuffer& tx, const Cj188Fields& fields);

// Builds Read ID in tx[0..18]; only T is taken from the inputs. Returns 18.
int BuildCj188ReadId(TxBuffer& tx, std::string_view combo7);

}  // namespace mb
