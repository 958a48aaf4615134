// An M-Bus heat meter: answers REQ_UD2 with an RSP_UD long frame, SND_NKE with
// E5, takes a new primary address from SND_UD (CI 51, DIF 01, VIF 7A) and can be
// selected by its secondary address (SND_UD to 253, CI 52 or 56).
// Bytes in, bytes out; no I/O.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tools/sim/bytes.h"
#include "tools/sim/date_time.h"

namespace mb::sim {

struct MbusSettings {
    std::uint8_t primaryAddress = 1;
    std::uint32_t identNumber = 12345678;  // 8 decimal digits, sent as BCD
    std::string manufacturer = "SIM";      // three letters A..Z
    std::uint8_t version = 0x01;
    std::uint8_t medium = 0x04;  // heat (outlet)
    std::uint32_t energyKwh = 4711;
    std::uint32_t settlementEnergyKwh = 4200;  // at storage 1, the last settlement day
    std::uint32_t volumeHundredths = 123456;  // 0.01 m3
    std::uint32_t powerWatt = 2450;
    std::uint32_t maxPowerWatt = 3980;
    std::uint32_t flowLitresPerHour = 312;
    unsigned flowTempTenths = 652;    // 0.1 degC
    unsigned returnTempTenths = 448;  // 0.1 degC
    unsigned operatingDays = 1021;
    unsigned telegrams = 1;  // records spread over this many RSP_UD telegrams (DIF 1F)
};

// Manufacturer letters packed as M-Bus sends them (5 bits a letter);
// nullopt unless exactly three letters A..Z.
std::optional<std::uint16_t> packManufacturer(const std::string& letters);

enum class MbusAnswer { ReadData, SetAddress, SetDateTime, ApplicationReset, SwitchBaud, Initialise, Select, NotForMe };

class MbusMeter {
  public:
    explicit MbusMeter(MbusSettings settings = {});

    MbusAnswer classify(const Bytes& frame) const;

    // The reply to a checksum-correct frame (start byte to stop byte), or nullopt
    // when the frame is not for this meter. A SetAddress reply is E5 and the new
    // address is taken at once; addresses 251..255 are reserved on the bus and
    // are refused without an answer. A selection is heard by every meter: the
    // matching ones become selected and answer E5, the others become deselected.
    // SND_NKE to 253 deselects the selected meter, which answers it.
    std::optional<Bytes> answer(const Bytes& frame, const DateTime& now);

    std::uint8_t primaryAddress() const { return settings_.primaryAddress; }
    // The rate the line runs at when a request arrives (0: unknown). After a baud
    // switch the meter answers only at its new rate.
    void hearAt(unsigned lineBaud) { lineBaud_ = lineBaud; }
    unsigned baud() const { return baud_; }
    bool selected() const { return selected_; }
    const MbusSettings& settings() const { return settings_; }
    // How the log names this meter: "mbus id 12345678 at 1".
    std::string name() const;

    static constexpr std::uint8_t kNetworkLayer = 0xFD;
    static constexpr std::uint8_t kBroadcastWithReply = 0xFE;
    static constexpr std::uint8_t kHighestPrimary = 250;
    static constexpr std::uint8_t kAck = 0xE5;

  private:
    bool addressedToMe(std::uint8_t address) const;
    bool matchesSecondary(const Bytes& frame) const;
    Bytes readout(const DateTime& now);
    Bytes readNext(bool fcb, const DateTime& now);
    Bytes telegramOf(const Bytes& user, const std::vector<std::size_t>& starts) const;

    MbusSettings settings_;
    std::uint16_t manufacturerCode_;
    std::uint8_t accessNumber_ = 0;
    bool selected_ = false;
    long clockOffsetSeconds_ = 0;  // set by SND_UD CI 51 with a type F date-time
    unsigned baud_ = 0;            // 0: never switched, answers at any rate
    std::size_t telegram_ = 0;     // the telegram last sent
    bool lastFcb_ = false;
    Bytes lastTelegram_;
    unsigned lineBaud_ = 0;
};

}  // namespace mb::sim
