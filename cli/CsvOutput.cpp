#include "cli/CsvOutput.h"

#include "core/HistoryCsv.h"

namespace mb::cli {

void CsvOutput::write(const ExchangeResult& result, std::string_view protocol,
                      std::chrono::system_clock::time_point time) {
    if (!table_) {
        protocol_ = protocol;
        table_.emplace(protocol, 1);
        for (std::size_t i = 0; i < table_->columns().size(); ++i) columns_.push_back(i);
        out_ << historyCsvHeader(*table_, columns_);
    }
    if (protocol != protocol_) return;
    out_ << historyCsvRow(table_->rowFor(result, time), columns_);
    out_.flush();
}

}  // namespace mb::cli
