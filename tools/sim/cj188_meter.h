// A CJ/T 188 meter, water (types 10H..19H) or heat (20H..29H): answers Read Data
// (C 01, DI 901F) with its type's layout and Read Address (C 03, DI 810A).
// Bytes in, bytes out; no I/O.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "tools/sim/bytes.h"
#include "tools/sim/date_time.h"

namespace mb::sim {

struct Cj188Settings {
    // A0..A6 as sent on the line (A0 first): the 14-digit address
    // "78330011223344" read from the right gives 44 33 22 11 00 33 78.
    std::array<std::uint8_t, 7> address{0x90, 0x78, 0x56, 0x34, 0x12, 0x33, 0x78};
    std::uint8_t meterType = 0x10;
    // Cumulative flow in hundredths of a cubic metre.
    std::uint64_t flowHundredths = 1234567;
    std::uint64_t settlementHundredths = 1200000;
    std::array<std::uint8_t, 2> status{0x00, 0x00};
    // Heat meter only: energies in 0.01 kWh, power in 0.01 kW, flow rate in
    // 0.0001 m3/h, temperatures in 0.01 degC, working time in hours.
    std::uint64_t heatHundredths = 8765432;
    std::uint64_t settlementHeatHundredths = 8500000;
    std::uint64_t powerHundredths = 1250;
    std::uint64_t flowRateTenThousandths = 12345;
    unsigned supplyTempHundredths = 6525;
    unsigned returnTempHundredths = 4480;
    unsigned workingHours = 24512;
    // Commissioning state a later read shows.
    unsigned valveMs = 0;        // time the valve takes to move (status shows the old state meanwhile)
    unsigned settlementDay = 1;  // 8103, written with A011
    unsigned readingDay = 1;     // 8104
};

// The heat meter beside the water meter: type 20H, address 78330000000001.
Cj188Settings cj188HeatDefaults();

// The address as 14 digits, written most significant pair (A6) first,
// the way it is printed on a meter's plate: A6 A5 A4 A3 A2 A1 A0.
std::optional<std::array<std::uint8_t, 7>> parseCj188Address(const std::string& digits);
std::string formatCj188Address(const std::array<std::uint8_t, 7>& address);

enum class Cj188Answer { ReadData, ReadAddress, ReadOther, Write, NotForMe };

class Cj188Meter {
  public:
    explicit Cj188Meter(Cj188Settings settings = {}) : settings_(settings) {}

    // Classifies a checksum-correct frame (start byte to stop byte).
    Cj188Answer classify(const Bytes& frame) const;

    // The reply to a frame, with wake-up bytes; nullopt when the frame is not a
    // request this meter answers. Each answered Read Data advances the flow by
    // 0.01 m3, so successive replies differ as a running meter's do.
    std::optional<Bytes> answer(const Bytes& frame, const DateTime& now);

    const Cj188Settings& settings() const { return settings_; }
    bool isHeatMeter() const { return settings_.meterType >= 0x20 && settings_.meterType <= 0x29; }
    // How the log names this meter: "cj188 water 78330000000000".
    std::string name() const;

    static constexpr std::uint8_t kUnitCubicMetre = 0x2C;
    static constexpr std::uint8_t kUnitKwh = 0x05;
    static constexpr std::uint8_t kUnitKw = 0x17;
    static constexpr std::uint8_t kUnitCubicMetrePerHour = 0x35;
    static constexpr std::size_t kWakeUpBytes = 3;

    // "cj188 valve", "cj188 set-clock", ...: how the log names a write or extra read.
    static std::string requestName(const Bytes& frame);

  private:
    using Clock = std::chrono::steady_clock;
    Bytes frameWith(std::uint8_t control, const Bytes& data) const;
    // cj188_writes.cpp: reads beyond 901F and the writes, with the state they change.
    Bytes otherRead(const Bytes& frame, const DateTime& now);
    Bytes write(const Bytes& frame, const DateTime& now);
    Bytes statusNow();
    DateTime clockNow(const DateTime& now) const;
    bool addressedToMe(const Bytes& frame) const;
    Bytes waterData(std::uint8_t serial, const DateTime& now);
    Bytes heatData(std::uint8_t serial, const DateTime& now);

    Cj188Settings settings_;
    bool valveClosed_ = false;
    bool valveTarget_ = false;  // closed?
    Clock::time_point valveMoved_{};
    long clockOffsetSeconds_ = 0;  // set-clock: meter time minus the machine's
};

}  // namespace mb::sim
