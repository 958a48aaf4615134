#include "cj188/Cj188FieldText.h"

#include <charconv>
#include <cstdio>
#include <optional>

#include "cj188/Cj188Units.h"
#include "core/CountText.h"
#include "core/HexText.h"

namespace mb {
namespace {

void appendNumber(std::string& out, std::uint64_t number) {
    char text[24];
    out.append(text, std::to_chars(text, text + sizeof text, number).ptr);
}

// "556677.00": the register as the meter shows it, leading zeros dropped.
void appendFixedPoint(std::string& out, std::uint64_t number, int decimals) {
    std::uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    appendNumber(out, number / scale);
    if (decimals <= 0) return;
    char fraction[24];
    const auto length = static_cast<std::size_t>(
        std::to_chars(fraction, fraction + sizeof fraction, number % scale).ptr - fraction);
    out += '.';
    out.append(static_cast<std::size_t>(decimals) - length, '0');
    out.append(fraction, length);
}

// "2026-12-08" + between + "01:19:00".
void appendDateTime(std::string& out, const Cj188Record& r, char between) {
    char text[40];
    const int n = std::snprintf(text, sizeof text, "%04u-%02u-%02u%c%02u:%02u:%02u", r.year % 10000u,
                                r.month % 100u, r.day % 100u, between, r.hour % 100u, r.minute % 100u,
                                r.second % 100u);
    out.append(text, static_cast<std::size_t>(n));
}

std::string_view problemText(Cj188FieldProblem problem) {
    switch (problem) {
        case Cj188FieldProblem::None: return {};
        case Cj188FieldProblem::InvalidBcd: return "invalid BCD digit";
        case Cj188FieldProblem::NoTimeSet: return "no date and time set (all zero)";
        case Cj188FieldProblem::NotCalendarTime: return "not a calendar date and time";
    }
    return {};
}

}  // namespace

void appendCj188Hex(std::string& out, std::span<const std::uint8_t> bytes) {
    appendHexBytes(out, bytes);
}

void appendPlateAddress(std::string& out, std::span<const std::uint8_t> address) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (auto it = address.rbegin(); it != address.rend(); ++it) {
        out += kDigits[*it >> 4];
        out += kDigits[*it & 0x0F];
    }
}

void describeCj188Field(const Cj188Values& v, const Cj188Record& r, RecordView& out, std::string& value,
                        std::string& display, bool withDisplay) {
    const auto bytes = v.frame.subspan(r.at, r.size);
    auto text = [&](std::string_view t) {
        out.valueType = RecordView::Value::Text;
        out.text = t;
        out.display = t;
    };
    auto number = [&](std::string_view unit) {
        out.unit = unit;
        out.valueType = RecordView::Value::Number;
        out.number = r.value;
        out.display = display;
    };
    value.clear();
    display.clear();
    if (r.problem != Cj188FieldProblem::None) {
        out.error = problemText(r.problem);
        return;
    }
    switch (r.field) {
        case Cj188Field::Amount: {
            const std::optional<Cj188Unit> unit = cj188Unit(bytes[4]);
            if (withDisplay) {
                appendFixedPoint(display, r.number, r.decimals);
                if (unit) {
                    display += ' ';
                    display += unit->meterSymbol;
                } else {
                    display += " (unknown unit code ";
                    appendCj188Hex(display, bytes.subspan(4, 1));
                    display += ')';
                }
            }
            return number(unit ? unit->siUnit : std::string_view{});
        }
        case Cj188Field::Temperature:
            if (withDisplay) {
                appendFixedPoint(display, r.number, 2);
                display += " °C";
            }
            return number("°C");
        case Cj188Field::Hours:
            if (withDisplay) {
                appendNumber(display, r.number);
                display += " h";
            }
            return number("s");
        case Cj188Field::RealTime:
            appendDateTime(value, r, 'T');
            text(value);
            if (withDisplay) {
                appendDateTime(display, r, ' ');
                if (r.yearFirst) display += " (sent year first)";
                out.display = display;
            }
            return;
        case Cj188Field::Status:
            appendCj188Hex(value, bytes);
            text(value);
            display = "ST1 ";
            appendCj188Hex(display, bytes.first(1));
            display += ", ST2 ";
            appendCj188Hex(display, bytes.subspan(1, 1));
            out.display = display;
            return;
        case Cj188Field::Valve: {
            static constexpr std::string_view kValve[] = {"open", "closed", "state 10 (undefined)", "abnormal"};
            return text(kValve[bytes[0] & 0x03]);
        }
        case Cj188Field::Battery: return text((bytes[0] & 0x04) ? "low" : "normal");
        case Cj188Field::Bytes:
            appendCj188Hex(value, bytes);
            return text(value);
        case Cj188Field::Truncated:
            value = "truncated: ";
            appendNumber(value, r.size);
            value += " of ";
            value += countText(r.needed, "byte");
            out.error = value;
            return;
        case Cj188Field::PlateAddress:
            appendPlateAddress(value, bytes);
            return text(value);
        case Cj188Field::MeterNumber:
            appendPlateAddress(value, bytes.first(5));
            return text(value);
        case Cj188Field::ManufacturerCode:
            appendCj188Hex(value, bytes.subspan(5, 1));
            appendCj188Hex(value, bytes.subspan(6, 1));
            return text(value);
        case Cj188Field::Price:
            if (withDisplay) {
                appendFixedPoint(display, r.number, r.decimals);
                display += " yuan/m³";
            }
            return number("CNY/m^3");
        case Cj188Field::WholeVolume:
            if (withDisplay) {
                appendNumber(display, r.number);
                display += " m³";
            }
            return number("m^3");
        case Cj188Field::DayOfMonth:
            if (withDisplay) {
                display = "day ";
                appendNumber(display, r.number);
                display += " of the month";
            }
            return number("");
        case Cj188Field::PurchaseNumber:
            if (withDisplay) appendNumber(display, r.number);
            return number("");
        case Cj188Field::Money:
            if (withDisplay) {
                appendFixedPoint(display, r.number, r.decimals);
                display += " yuan";
            }
            return number("CNY");
        case Cj188Field::ValveCommand: {
            const std::uint8_t c = bytes[0];
            const std::string_view what = c == 0x55   ? (r.forced ? "force open" : "open")
                                          : c == 0x99 ? (r.forced ? "force close" : "close")
                                                      : "unknown valve command";
            text(what);
            if (withDisplay) {
                display = what;
                display += " (";
                appendCj188Hex(display, bytes);
                display += ')';
                out.display = display;
            }
            return;
        }
        case Cj188Field::ErrorReply:
            appendCj188Hex(value, bytes);
            text(value);
            out.display = "the meter could not carry out the request";
            return;
    }
}

}  // namespace mb
