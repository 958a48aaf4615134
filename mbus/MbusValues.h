// A decoded M-Bus frame as numbers and codes: the link fields, the data
// header, and one entry a data record with its coding, raw number, SI value
// and the offsets of its bytes in the frame. No text: MbusReadingView makes
// the words, hex and JSON from these when asked. The frame itself is not
// copied; the values point into the caller's bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/Reading.h"
#include "mbus/DataField.h"
#include "mbus/VifTable.h"

namespace mb {

// What keeps a frame or a record from decoding. The view words each.
enum class MbusProblem : std::uint8_t {
    None,
    // Not an M-Bus frame (Reading::error).
    NoBytes,
    AckFollowedByBytes,
    ShortFrameLength,
    LongFrameTooShort,
    LengthBytesDiffer,
    SecondStartByte,
    LengthTooSmall,
    LengthMismatch,
    NotMbus,
    // A frame that fails its checks (Reading::checkProblem).
    Checksum,
    StopByte,
    // A record or a run of bytes that could not be decoded.
    DifeChainEnds,
    TooManyDifes,
    Vif,  // the VIF block's own problem, re-read from the bytes
    LvarMissing,
    ReservedLvar,
    Truncated,
    ReservedDif,
    BadBcdDigit,
    DateNeeds16Bits,
    DateNeedsInteger,
    DateLength,
    DateMarkedInvalid,
    DataHeaderShort,
    Encrypted,
    SecondaryAddressLength,
    ExtraAfterErrorCode,
    ExtraAfterAlarm,
    ExtraAfterResetSubcode,
    CiNotDecoded,
    FixedDataLength,
};

// How the value is shown, chosen from the data coding and the VIF's kind.
enum class MbusShown : std::uint8_t {
    Nothing,    // "(no data)"
    Selection,  // readout selection (DIF code 8)
    Hex,        // the data bytes as hex
    Text,       // LVAR characters
    DateTime,   // a date/time type
    Digits,     // an identifier: BCD digits, an unsigned integer or a real
    Flags,      // bits in hex, the value as a number
    Number,     // a scaled measurement
    Error,      // the value could not be read (see the record's problem)
};

enum class MbusRecordKind : std::uint8_t {
    Data,              // a data record: DIF, DIFEs, VIF block, data field
    Counter,           // a counter of the fixed data structure
    GlobalReadout,     // DIF 7F
    ManufacturerData,  // DIF 0F/1F and everything after it
    Undecoded,         // bytes that could not be decoded, with the problem
};

struct MbusRecord {
    MbusRecordKind kind = MbusRecordKind::Data;
    MbusShown shown = MbusShown::Nothing;
    RecordFunction function = RecordFunction::Instantaneous;
    MbusProblem problem = MbusProblem::None;
    std::uint8_t problemCode = 0;  // the byte or digit the problem names
    std::uint8_t lvar = 0;         // Data: the LVAR byte when the DIF code is 0D
    bool quantityFromVif = false;  // Undecoded: a truncated record keeps its VIF's quantity
    std::uint8_t counterUnit = 0;  // Counter: the six unit bits of its table
    std::uint16_t start = 0;       // offsets in the frame: first byte of the record,
    std::uint16_t vif = 0;         // its VIF,
    std::uint16_t data = 0;        // its data field,
    std::uint16_t end = 0;         // one past its last byte
    std::uint16_t needed = 0;      // Truncated: bytes the data field needs
    std::uint64_t storage = 0;
    std::uint64_t tariff = 0;
    std::uint64_t subunit = 0;
    VifScale scale;
    DataValue raw;     // the number as the data field holds it
    double value = 0;  // Number and Flags: the value in SI units
};

// The header fields a frame can carry, in the order they are shown.
enum class MbusField : std::uint8_t {
    Acknowledge,
    Frame,
    CField,
    Address,
    Ci,
    Application,
    Id,
    Manufacturer,
    ManufacturerOrAny,
    Version,
    Medium,
    MediumOrAny,
    MediumCode,
    AccessNumber,
    Status,
    StatusText,
    Signature,
    EncryptionMode,
    MoreRecordsFollow,
    FixedMedium,
    CounterFormat,
    ApplicationError,
    ApplicationErrorCode,
    Alarm,
    ResetSubcode,
    BaudRate,
};

// ApplicationError without a code byte: "no error code sent".
inline constexpr std::uint32_t kNoErrorCode = 0x100;

struct MbusHeaderItem {
    MbusField field = MbusField::Frame;
    std::uint32_t value = 0;  // the code or number; Id: the eight digits as hex nibbles
};

struct MbusValues {
    std::span<const std::uint8_t> frame;  // the caller's bytes
    bool checkPassed = false;
    MbusProblem problem = MbusProblem::None;  // frame-level: not a frame, or its check failed
    std::uint8_t problemByte[2] = {};         // the bytes a frame problem names
    std::uint16_t userDataEnd = 0;            // offset of the checksum: records end here
    bool msbFirst = false;                    // multi-byte data high byte first (CI 76, 77, 55)
    bool fromMaster = false;                  // SND_UD data: low VIFE codes are actions
    std::array<MbusHeaderItem, 24> header{};  // a frame has at most 16 header fields
    std::size_t headerCount = 0;
    std::vector<MbusRecord> records;  // cleared, not freed, from frame to frame

    void add(MbusField field, std::uint32_t value = 0) { header[headerCount++] = {field, value}; }
    bool isFrameError() const { return problem >= MbusProblem::NoBytes && problem <= MbusProblem::NotMbus; }
    bool isCheckProblem() const { return problem == MbusProblem::Checksum || problem == MbusProblem::StopByte; }
};

}  // namespace mb
