#include "core/ReadingView.h"

#include <variant>

#include "core/HexText.h"

namespace mb {

HeaderFieldView ReadingOfRecords::headerField(std::size_t index) const {
    const HeaderField& field = reading_.header[index];
    HeaderFieldView view;
    view.key = field.key;
    view.label = field.label;
    if (const auto* number = std::get_if<std::int64_t>(&field.value)) {
        view.isNumber = true;
        view.number = *number;
    } else {
        view.text = std::get<std::string>(field.value);
    }
    return view;
}

RecordView ReadingOfRecords::record(std::size_t index, bool) const {
    const Record& record = reading_.records[index];
    RecordView view;
    view.quantity = record.quantity;
    view.function = record.function;
    view.storage = record.storage;
    view.tariff = record.tariff;
    view.subunit = record.subunit;
    view.unit = record.unit;
    if (const auto* number = std::get_if<double>(&record.value)) {
        view.valueType = RecordView::Value::Number;
        view.number = *number;
    } else if (const auto* text = std::get_if<std::string>(&record.value)) {
        view.valueType = RecordView::Value::Text;
        view.text = *text;
    }
    view.display = record.display;
    view.error = record.error;
    view.rawHex = record.rawHex;
    return view;
}

void appendRawHex(std::string& out, const RecordView& record) {
    if (record.rawBytes.empty()) {
        out += record.rawHex;
    } else {
        appendHexBytes(out, record.rawBytes);
    }
}

Reading readingOf(const ReadingView& view) {
    Reading reading;
    reading.protocol = view.protocol();
    reading.checkPassed = view.checkPassed();
    reading.error = view.error();
    reading.checkProblem = view.checkProblem();
    reading.meterError = view.meterError();
    reading.header.reserve(view.headerCount());
    for (std::size_t i = 0; i < view.headerCount(); ++i) {
        const HeaderFieldView field = view.headerField(i);
        HeaderField& copy = reading.header.emplace_back();
        copy.key = field.key;
        copy.label = field.label;
        if (field.isNumber) {
            copy.value = field.number;
        } else {
            copy.value = std::string(field.text);
        }
    }
    reading.records.reserve(view.recordCount());
    for (std::size_t i = 0; i < view.recordCount(); ++i) {
        const RecordView record = view.record(i, true);
        Record& copy = reading.records.emplace_back();
        copy.quantity = record.quantity;
        copy.function = record.function;
        copy.storage = record.storage;
        copy.tariff = record.tariff;
        copy.subunit = record.subunit;
        copy.unit = record.unit;
        if (record.valueType == RecordView::Value::Number) {
            copy.value = record.number;
        } else if (record.valueType == RecordView::Value::Text) {
            copy.value = std::string(record.text);
        }
        copy.display = record.display;
        copy.error = record.error;
        appendRawHex(copy.rawHex, record);
    }
    return reading;
}

}  // namespace mb
