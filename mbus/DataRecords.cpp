#include "mbus/DataRecords.h"

#include "core/CountText.h"
#include "mbus/DataField.h"
#include "mbus/NumberText.h"
#include "mbus/RecordValue.h"
#include "mbus/VifTable.h"

namespace mb {
namespace {

constexpr std::size_t kMaxDifes = 10;
constexpr std::uint8_t kIdleFiller = 0x2F;
constexpr std::uint8_t kManufacturerData = 0x0F;
constexpr std::uint8_t kManufacturerDataMore = 0x1F;
constexpr std::uint8_t kGlobalReadout = 0x7F;

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
    Walker(std::span<const std::uint8_t> data, const RecordOptions& options) : data_(data), options_(options) {}

    RecordWalk run() {
        while (at_ < data_.size()) {
            const std::uint8_t dif = data_[at_];
            if (dif == kIdleFiller) {
                ++at_;
                continue;
            }
            if (dif == kManufacturerData || dif == kManufacturerDataMore) {
                manufacturerData(dif);
                break;
            }
            if (dif == kGlobalReadout) {
                Record r;
                r.quantity = "Global readout request";
                r.function = RecordFunction::Other;
                r.rawHex = hexBytes(data_.subspan(at_, 1));
                walk_.records.push_back(std::move(r));
                ++at_;
                continue;
            }
            if ((dif & 0x0F) == 0x0F) {
                restIsError(at_, "reserved DIF " + hexBytes(data_.subspan(at_, 1)));
                break;
            }
            if (!record()) break;
        }
        return std::move(walk_);
    }

  private:
    void manufacturerData(std::uint8_t dif) {
        Record r;
        r.quantity = "Manufacturer specific data";
        r.function = RecordFunction::Manufacturer;
        r.value = hexBytes(data_.subspan(at_ + 1));
        r.display = std::get<std::string>(r.value);
        r.rawHex = hexBytes(data_.subspan(at_));
        walk_.moreRecordsFollow = dif == kManufacturerDataMore;
        walk_.records.push_back(std::move(r));
        at_ = data_.size();
    }

    void restIsError(std::size_t start, std::string why) {
        Record r;
        r.error = std::move(why);
        r.rawHex = hexBytes(data_.subspan(start));
        walk_.records.push_back(std::move(r));
        at_ = data_.size();
    }

    // One record from `at_`; false when the rest of the data had to be given up.
    bool record() {
        const std::size_t start = at_;
        Record r;
        const std::uint8_t dif = data_[at_++];
        r.function = functionOf(dif);
        r.storage = (dif >> 6) & 1u;
        std::uint8_t last = dif;
        for (std::size_t n = 0; last & 0x80; ++n) {
            if (at_ >= data_.size()) {
                restIsError(start, "record ends inside its DIFE chain");
                return false;
            }
            if (n >= kMaxDifes) {
                restIsError(start, "more than 10 DIFEs");
                return false;
            }
            last = data_[at_++];
            r.storage |= std::uint64_t{last & 0x0Fu} << (1 + 4 * n);
            r.tariff |= std::uint64_t{(last >> 4) & 3u} << (2 * n);
            r.subunit |= std::uint64_t{(last >> 6) & 1u} << n;
        }

        const VifDecode vif = decodeVif(data_.subspan(at_), options_.fromMaster);
        if (!vif.lengthKnown) {
            restIsError(start, vif.error);
            return false;
        }
        at_ += vif.length;
        r.quantity = vif.meaning.quantity;

        const std::uint8_t code = dif & 0x0F;
        std::size_t length = 0;
        std::uint8_t lvar = 0;
        if (code == 0x0D) {
            if (at_ >= data_.size()) {
                restIsError(start, "record ends before its LVAR byte");
                return false;
            }
            lvar = data_[at_++];
            const auto n = lvarLength(lvar);
            if (!n) {
                restIsError(start, "reserved LVAR value " + hexBytes(data_.subspan(at_ - 1, 1)));
                return false;
            }
            length = *n;
        } else {
            length = fixedFieldLength(code).value_or(0);
        }
        if (data_.size() - at_ < length) {
            restIsError(start, "record truncated: data field needs " + countText(length, "byte") + ", " +
                                   std::to_string(data_.size() - at_) + " left");
            walk_.records.back().quantity = r.quantity;
            return false;
        }
        const auto field = data_.subspan(at_, length);
        at_ += length;
        r.rawHex = hexBytes(data_.subspan(start, at_ - start));

        const DataValue value = code == 0x0D ? decodeLvarField(lvar, field)
                                             : decodeFixedField(code, field, options_.msbFirst);
        if (code == 0x08) {
            r.unit = vif.meaning.unit;
            r.display = "(readout selection)";
        } else {
            fillRecordValue(r, vif.meaning, value, field, options_.msbFirst);
        }
        if (!vif.error.empty()) r.error = vif.error;
        walk_.records.push_back(std::move(r));
        return true;
    }

    std::span<const std::uint8_t> data_;
    RecordOptions options_;
    std::size_t at_ = 0;
    RecordWalk walk_;
};

}  // namespace

RecordWalk decodeDataRecords(std::span<const std::uint8_t> data, const RecordOptions& options) {
    return Walker(data, options).run();
}

}  // namespace mb
