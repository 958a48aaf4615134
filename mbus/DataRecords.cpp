#include "mbus/DataRecords.h"

#include "mbus/DataField.h"
#include "mbus/RecordValue.h"
#include "mbus/VifTable.h"

namespace mb {
namespace {

constexpr std::size_t kMaxDifes = 10;
constexpr std::uint8_t kIdleFiller = 0x2F;
constexpr std::uint8_t kManufacturerData = 0x0F;
constexpr std::uint8_t kManufacturerDataMore = 0x1F;
constexpr std::uint8_t kGlobalReadout = 0x7F;
constexpr std::uint8_t kLvar = 0x0D;
constexpr std::uint8_t kReadoutSelection = 0x08;

RecordFunction functionOf(std::uint8_t dif) {
    switch ((dif >> 4) & 3) {
        case 0: return RecordFunction::Instantaneous;
        case 1: return RecordFunction::Maximum;
        case 2: return RecordFunction::Minimum;
        default: return RecordFunction::Error;
    }
}

class Walker {
  public:
    explicit Walker(MbusValues& values) : v_(values), bytes_(values.frame.first(values.userDataEnd)) {}

    void run(std::size_t begin) {
        at_ = begin;
        while (at_ < bytes_.size()) {
            const std::uint8_t dif = bytes_[at_];
            if (dif == kIdleFiller) {
                ++at_;
                continue;
            }
            if (dif == kManufacturerData || dif == kManufacturerDataMore) {
                MbusRecord& r = add(MbusRecordKind::ManufacturerData, at_, bytes_.size());
                r.function = RecordFunction::Manufacturer;
                if (dif == kManufacturerDataMore) v_.add(MbusField::MoreRecordsFollow);
                return;
            }
            if (dif == kGlobalReadout) {
                add(MbusRecordKind::GlobalReadout, at_, at_ + 1).function = RecordFunction::Other;
                ++at_;
                continue;
            }
            if ((dif & 0x0F) == 0x0F) {
                restIsUndecoded(at_, MbusProblem::ReservedDif).problemCode = dif;
                return;
            }
            if (!record()) return;
        }
    }

  private:
    MbusRecord& add(MbusRecordKind kind, std::size_t start, std::size_t end) {
        // A copy of a blank record: cheaper than value-initialising one field by field.
        static const MbusRecord kBlank{};
        MbusRecord& r = v_.records.emplace_back(kBlank);
        r.kind = kind;
        r.start = static_cast<std::uint16_t>(start);
        r.end = static_cast<std::uint16_t>(end);
        return r;
    }

    MbusRecord& restIsUndecoded(std::size_t start, MbusProblem problem) {
        MbusRecord& r = add(MbusRecordKind::Undecoded, start, bytes_.size());
        r.problem = problem;
        r.shown = MbusShown::Error;
        at_ = bytes_.size();
        return r;
    }

    // One record from `at_`; false when the rest of the data had to be given up.
    // The record is filled in place; when its end cannot be found it becomes
    // the undecoded rest of the data.
    bool record() {
        const std::size_t start = at_;
        MbusRecord& r = add(MbusRecordKind::Data, start, start);
        auto giveUp = [&](MbusProblem problem) -> MbusRecord& {
            v_.records.pop_back();
            return restIsUndecoded(start, problem);
        };
        const std::uint8_t dif = bytes_[at_++];
        r.function = functionOf(dif);
        std::uint64_t storage = (dif >> 6) & 1u, tariff = 0, subunit = 0;
        std::uint8_t last = dif;
        for (std::size_t n = 0; last & 0x80; ++n) {
            if (at_ >= bytes_.size()) return giveUp(MbusProblem::DifeChainEnds), false;
            if (n >= kMaxDifes) return giveUp(MbusProblem::TooManyDifes), false;
            last = bytes_[at_++];
            storage |= std::uint64_t{last & 0x0Fu} << (1 + 4 * n);
            tariff |= std::uint64_t{(last >> 4) & 3u} << (2 * n);
            subunit |= std::uint64_t{(last >> 6) & 1u} << n;
        }
        r.storage = storage;
        r.tariff = tariff;
        r.subunit = subunit;

        const std::size_t vifAt = at_;
        const VifBlock vif = decodeVif(bytes_.subspan(at_), v_.fromMaster, r.scale);
        if (!vif.lengthKnown()) {
            giveUp(MbusProblem::Vif).vif = static_cast<std::uint16_t>(vifAt);
            return false;
        }
        at_ += vif.length;

        const std::uint8_t code = dif & 0x0F;
        std::size_t length = 0;
        std::uint8_t lvar = 0;
        if (code == kLvar) {
            if (at_ >= bytes_.size()) return giveUp(MbusProblem::LvarMissing), false;
            lvar = bytes_[at_++];
            const auto n = lvarLength(lvar);
            if (!n) return giveUp(MbusProblem::ReservedLvar).problemCode = lvar, false;
            length = *n;
        } else {
            length = fixedFieldLength(code).value_or(0);
        }
        if (bytes_.size() - at_ < length) {
            const std::size_t dataAt = at_;
            MbusRecord& cut = giveUp(MbusProblem::Truncated);
            cut.quantityFromVif = true;
            cut.vif = static_cast<std::uint16_t>(vifAt);
            cut.data = static_cast<std::uint16_t>(dataAt);
            cut.needed = static_cast<std::uint16_t>(length);
            return false;
        }
        const auto field = bytes_.subspan(at_, length);
        r.vif = static_cast<std::uint16_t>(vifAt);
        r.data = static_cast<std::uint16_t>(at_);
        at_ += length;
        r.end = static_cast<std::uint16_t>(at_);
        r.lvar = lvar;

        if (code == kReadoutSelection) {
            r.shown = MbusShown::Selection;
        } else {
            if (code == kLvar) {
                decodeLvarField(lvar, field, r.raw);
            } else {
                decodeFixedField(code, field, v_.msbFirst, r.raw);
            }
            setRecordValue(r, field, v_.msbFirst);
        }
        // The VIF's own problem names the record's error before any of its value.
        if (vif.problem != VifProblem::None) r.problem = MbusProblem::Vif;
        return true;
    }

    MbusValues& v_;
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

}  // namespace

void decodeDataRecords(MbusValues& values, std::size_t begin) {
    Walker(values).run(begin);
}

}  // namespace mb
