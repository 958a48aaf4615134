#include <algorithm>
#include <cstdio>
#include <variant>

#include "core/ReadingJson.h"
#include "plan/Reports.h"

namespace mb::plan {

std::string markupText(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            case '\n':
                out += "&#10;";
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out += c;
        }
    }
    return out;
}

std::string msText(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", ms);
    return text;
}

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

std::string readingSummary(const Reading& reading) {
    std::string out;
    for (const Record& r : reading.records) {
        if (r.storage != 0 || r.tariff != 0 || r.function != RecordFunction::Instantaneous ||
            !r.error.empty())
            continue;
        std::string value;
        if (const auto* d = std::get_if<double>(&r.value))
            value = jsonNumber(*d) + (r.unit.empty() ? "" : " " + r.unit);
        else if (const auto* s = std::get_if<std::string>(&r.value))
            value = *s;
        else
            continue;
        out += (out.empty() ? "" : "; ") + r.quantity + "=" + value;
    }
    return out;
}

std::string readingId(const Reading& reading) {
    const std::string key = reading.protocol == "cj188" ? "address" : "id";
    for (const HeaderField& f : reading.header)
        if (f.key == key) {
            if (const auto* s = std::get_if<std::string>(&f.value)) return *s;
            return std::to_string(std::get<std::int64_t>(f.value));
        }
    return {};
}

std::vector<const StepResult*> failuresFirst(const LineResult& line) {
    std::vector<const StepResult*> out;
    for (const StepResult& s : line.steps) out.push_back(&s);
    const auto rank = [](const StepResult* s) {
        switch (s->outcome) {
            case Outcome::Failed:
            case Outcome::Error:
                return 0;
            case Outcome::Skipped:
                return 1;
            case Outcome::Passed:
                return 2;
        }
        return 2;
    };
    std::stable_sort(out.begin(), out.end(), [&](auto* a, auto* b) { return rank(a) < rank(b); });
    return out;
}

}  // namespace mb::plan
