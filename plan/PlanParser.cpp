#include "plan/PlanParser.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <toml++/toml.h>

#include "plan/AsciiToml.h"

namespace mb::plan {
namespace {

constexpr int kMaxRepeat = 10000;
constexpr int kMaxMs = 3600000;

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// CJ/T 188 addresses as on the plate: 14 digits, A for a wildcard digit.
bool plateAddress(std::string_view text) {
    return text.size() == 14 &&
           std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == 'A' || c == 'a'; });
}

std::optional<std::uint8_t> hexByte(std::string text) {
    if (!text.empty() && (text.back() == 'H' || text.back() == 'h')) text.pop_back();
    if (text.empty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c) != 0; })) return std::nullopt;
    return static_cast<std::uint8_t>(std::stoul(text, nullptr, 16));
}

// Collects the problems of one plan; each names where it is.
class Reader {
  public:
    explicit Reader(std::string file) : file_(std::move(file)) {}

    void error(const toml::source_region& at, const std::string& context, const std::string& message) {
        std::string line = file_ + ":" + std::to_string(at.begin.line) + ": ";
        if (!context.empty()) line += context + ": ";
        errors_.lines.push_back(line + message);
    }
    bool failed() const { return !errors_.lines.empty(); }
    PlanErrors take() { return std::move(errors_); }

    // Every key of `table` must be one of `known`: a typo must not pass silently.
    void onlyKnown(const toml::table& table, const std::set<std::string>& known, const std::string& context) {
        for (auto&& [key, node] : table)
            if (!known.count(std::string(key.str()))) {
                std::string list;
                for (const auto& k : known) list += (list.empty() ? "" : ", ") + k;
                error(key.source(), context, "unknown key '" + std::string(key.str()) + "' (known: " + list + ")");
            }
    }

    std::optional<std::string> text(const toml::table& table, const char* key, const std::string& context,
                                     bool required = false) {
        const toml::node* node = table.get(key);
        if (!node) {
            if (required) error(table.source(), context, std::string("'") + key + "' is missing");
            return std::nullopt;
        }
        if (const auto* s = node->as_string()) return s->get();
        error(node->source(), context, std::string("'") + key + "' must be text in quotes");
        return std::nullopt;
    }

    // A text or a whole number, as text ("1" and 1 both name M-Bus address 1).
    std::optional<std::string> textOrNumber(const toml::table& table, const char* key, const std::string& context) {
        const toml::node* node = table.get(key);
        if (node && node->is_integer()) return std::to_string(node->as_integer()->get());
        return text(table, key, context);
    }

    std::optional<std::int64_t> integer(const toml::table& table, const char* key, std::int64_t min,
                                        std::int64_t max, const std::string& context) {
        const toml::node* node = table.get(key);
        if (!node) return std::nullopt;
        const auto* n = node->as_integer();
        if (!n || n->get() < min || n->get() > max) {
            std::ostringstream why;
            why << "'" << key << "' must be a whole number " << min << "-" << max;
            if (n) why << ", not " << n->get();
            error(node->source(), context, why.str());
            return std::nullopt;
        }
        return n->get();
    }

    std::optional<double> number(const toml::table& table, const char* key, const std::string& context) {
        const toml::node* node = table.get(key);
        if (!node) return std::nullopt;
        if (const auto* i = node->as_integer()) return static_cast<double>(i->get());
        if (const auto* f = node->as_floating_point()) return f->get();
        error(node->source(), context, std::string("'") + key + "' must be a number");
        return std::nullopt;
    }

    std::optional<bool> boolean(const toml::table& table, const char* key, const std::string& context) {
        const toml::node* node = table.get(key);
        if (!node) return std::nullopt;
        if (const auto* b = node->as_boolean()) return b->get();
        error(node->source(), context, std::string("'") + key + "' must be true or false");
        return std::nullopt;
    }

    // The array of tables under `key` ([[line]], [[meter]], range = [{..}]).
    std::vector<const toml::table*> tables(const toml::table& table, const char* key, const std::string& context) {
        std::vector<const toml::table*> out;
        const toml::node* node = table.get(key);
        if (!node) return out;
        const auto* array = node->as_array();
        if (!array) {
            error(node->source(), context, std::string("'") + key + "' must be a list of tables");
            return out;
        }
        for (const toml::node& item : *array) {
            if (const auto* t = item.as_table()) out.push_back(t);
            else error(item.source(), context, std::string("every '") + key + "' entry must be a table");
        }
        return out;
    }

    std::optional<std::vector<Step>> steps(const toml::table& table, const std::string& context,
                                           std::optional<MeterProtocol> protocol) {
        const toml::node* node = table.get("steps");
        if (!node) return std::nullopt;
        const auto* array = node->as_array();
        if (!array || array->empty()) {
            error(node->source(), context, "'steps' must be a list such as [\"read\", \"set-time\"]");
            return std::vector<Step>{};
        }
        std::vector<Step> out;
        for (const toml::node& item : *array) {
            const auto* s = item.as_string();
            const std::string name = s ? s->get() : "";
            const auto step = parseStep(name, protocol);
            if (!step.empty()) error(item.source(), context, step);
            else out.push_back(lastStep_);
        }
        return out;
    }

  private:
    // Empty when `name` is a step (left in lastStep_), else why not.
    std::string parseStep(const std::string& name, std::optional<MeterProtocol> protocol) {
        lastStep_ = Step{};
        if (name == "read") return {};
        if (name == "set-time") return lastStep_.kind = StepKind::SetTime, "";
        if (name == "valve-cycle") {
            lastStep_.kind = StepKind::ValveCycle;
            if (protocol == MeterProtocol::Mbus)
                return "step 'valve-cycle' needs a CJ/T 188 meter (M-Bus has no standard valve request)";
            return {};
        }
        if (name.rfind("set-address:", 0) == 0) {
            lastStep_.kind = StepKind::SetAddress;
            lastStep_.newAddress = name.substr(12);
            const std::string& a = lastStep_.newAddress;
            if (protocol == MeterProtocol::Mbus && !(allDigits(a) && a.size() <= 3 && std::stoi(a) <= 250))
                return "step '" + name + "': an M-Bus address is 0-250";
            if (protocol == MeterProtocol::Cj188 && !(allDigits(a) && a.size() == 14))
                return "step '" + name + "': a CJ/T 188 address is 14 digits";
            if (!protocol) return "step '" + name + "' belongs to one meter's steps, not the plan's";
            return {};
        }
        return "unknown step '" + name + "' (read, set-time, valve-cycle, set-address:N)";
    }

    std::string file_;
    PlanErrors errors_;
    Step lastStep_;
};

struct Defaults {
    int repeat = 1;
    std::optional<int> maxReplyMs;
    std::vector<Step> steps{Step{}};
    bool continueAfterFailure = false;
};

void readLine(Reader& r, const toml::table& t, int number, Plan& plan, std::map<std::string, std::size_t>& byName) {
    const std::string context = "line " + std::to_string(number);
    r.onlyKnown(t, {"name", "port", "baud", "parity"}, context);
    Line line;
    line.name = r.text(t, "name", context, true).value_or("");
    line.port = r.text(t, "port", context, true).value_or("");
    line.baud = static_cast<int>(r.integer(t, "baud", 50, 4000000, context).value_or(2400));
    if (const auto parity = r.text(t, "parity", context)) {
        const std::string p = *parity;
        if (p.size() != 1 || std::string("NEOMSneoms").find(p[0]) == std::string::npos)
            r.error(t.get("parity")->source(), context, "parity must be N, E, O, M or S, not '" + p + "'");
        else line.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(p[0])));
    }
    if (!line.name.empty() && byName.count(line.name))
        r.error(t.get("name")->source(), context, "a line named '" + line.name + "' is already in the plan");
    for (const Line& other : plan.lines)
        if (!line.port.empty() && other.port == line.port)
            r.error(t.get("port")->source(), context, "port " + line.port + " is already the port of line '" + other.name + "'");
    byName[line.name] = plan.lines.size();
    plan.lines.push_back(std::move(line));
}

void readExpect(Reader& r, const toml::table& meter, Meter& m, const std::string& context) {
    const toml::node* node = meter.get("expect");
    if (!node) return;
    const auto* t = node->as_table();
    if (!t) return r.error(node->source(), context, "'expect' must be a table such as { id = \"12345678\" }");
    const bool mbus = m.protocol == MeterProtocol::Mbus;
    if (mbus) r.onlyKnown(*t, {"id", "manufacturer", "version", "medium"}, context + ": expect");
    else r.onlyKnown(*t, {"id"}, context + ": expect (CJ/T 188)");
    m.expect.id = r.textOrNumber(*t, "id", context).value_or("");
    if (!m.expect.id.empty() && !(mbus ? allDigits(m.expect.id) && m.expect.id.size() == 8 : plateAddress(m.expect.id)))
        r.error(t->get("id")->source(), context,
                mbus ? "expect.id must be 8 digits, not '" + m.expect.id + "'"
                     : "expect.id must be the 14-digit address, not '" + m.expect.id + "'");
    if (!mbus) return;
    m.expect.manufacturer = r.text(*t, "manufacturer", context).value_or("");
    m.expect.version = r.integer(*t, "version", 0, 255, context);
    m.expect.medium = r.text(*t, "medium", context).value_or("");
}

void readRanges(Reader& r, const toml::table& meter, Meter& m, const std::string& context) {
    for (const toml::table* t : r.tables(meter, "range", context)) {
        r.onlyKnown(*t, {"quantity", "min", "max", "storage"}, context + ": range");
        Range range;
        range.quantity = r.text(*t, "quantity", context + ": range", true).value_or("");
        range.min = r.number(*t, "min", context);
        range.max = r.number(*t, "max", context);
        range.storage = static_cast<std::uint64_t>(r.integer(*t, "storage", 0, 1 << 30, context).value_or(0));
        if (!range.min && !range.max) r.error(t->source(), context, "a range needs min, max or both");
        if (range.min && range.max && *range.min > *range.max)
            r.error(t->source(), context, "range of " + range.quantity + ": min is above max");
        m.ranges.push_back(std::move(range));
    }
}

void readAddress(Reader& r, const toml::table& t, Meter& m, const std::string& context) {
    const auto address = r.textOrNumber(t, "address", context);
    const auto secondary = r.textOrNumber(t, "secondary", context);
    if (m.protocol == MeterProtocol::Cj188) {
        if (secondary) r.error(t.get("secondary")->source(), context, "'secondary' is M-Bus only");
        if (!address) return r.error(t.source(), context, "'address' is missing (14 digits, A6 first)");
        if (!plateAddress(*address))
            r.error(t.get("address")->source(), context, "a CJ/T 188 address is 14 digits, not '" + *address + "'");
        m.address = *address;
        if (const auto type = r.text(t, "meter_type", context)) {
            const auto byte = hexByte(*type);
            if (!byte) r.error(t.get("meter_type")->source(), context, "meter_type must be one hex byte such as \"10\" or \"20H\", not '" + *type + "'");
            else m.meterType = *byte;
        }
        return;
    }
    if (t.get("meter_type"))
        r.error(t.get("meter_type")->source(), context, "'meter_type' is CJ/T 188 only (this meter is mbus)");
    if (address && secondary) return r.error(t.get("secondary")->source(), context, "give 'address' or 'secondary', not both");
    if (!address && !secondary) return r.error(t.source(), context, "'address' (0-250) or 'secondary' (8 digits) is missing");
    if (address) {
        if (!allDigits(*address) || address->size() > 3 || std::stoi(*address) > 250)
            r.error(t.get("address")->source(), context, "an M-Bus primary address is 0-250, not '" + *address + "'");
        m.address = *address;
    } else {
        if (!allDigits(*secondary) || secondary->size() != 8)
            r.error(t.get("secondary")->source(), context, "a secondary address is 8 digits, not '" + *secondary + "'");
        m.secondary = *secondary;
    }
}

void readMeter(Reader& r, const toml::table& t, int number, const Defaults& d, Plan& plan,
               const std::map<std::string, std::size_t>& lines) {
    const std::string context = "meter " + std::to_string(number);
    r.onlyKnown(t, {"name", "line", "protocol", "address", "secondary", "meter_type", "expect", "range", "steps",
                    "repeat", "max_reply_ms", "continue_after_failure"}, context);
    Meter m;
    m.number = number;
    m.name = r.text(t, "name", context).value_or(context);
    const auto protocol = r.text(t, "protocol", context, true);
    std::optional<MeterProtocol> p;
    if (protocol == "mbus") p = MeterProtocol::Mbus;
    else if (protocol == "cj188") p = MeterProtocol::Cj188;
    else if (protocol) r.error(t.get("protocol")->source(), context, "unknown protocol '" + *protocol + "' (mbus or cj188)");
    if (p) {
        m.protocol = *p;
        readAddress(r, t, m, context);
        readExpect(r, t, m, context);
    }
    readRanges(r, t, m, context);
    m.repeat = static_cast<int>(r.integer(t, "repeat", 1, kMaxRepeat, context).value_or(d.repeat));
    const auto maxReply = r.integer(t, "max_reply_ms", 1, kMaxMs, context);
    m.maxReplyMs = maxReply ? std::optional<int>(static_cast<int>(*maxReply)) : d.maxReplyMs;
    m.continueAfterFailure = r.boolean(t, "continue_after_failure", context).value_or(d.continueAfterFailure);
    m.steps = r.steps(t, context, p).value_or(d.steps);
    if (p == MeterProtocol::Mbus && !t.get("steps"))  // the plan's steps, not the meter's own
        for (const Step& s : m.steps)
            if (s.kind == StepKind::ValveCycle) r.error(t.source(), context, "step 'valve-cycle' needs a CJ/T 188 meter (M-Bus has no standard valve request)");
    const auto line = r.text(t, "line", context, true);
    if (!line) return;
    const auto found = lines.find(*line);
    if (found == lines.end()) return r.error(t.get("line")->source(), context, "no line named '" + *line + "' in the plan");
    Line& l = plan.lines[found->second];
    m.line = l.name;
    for (const Meter& other : l.meters)
        if (other.protocol == m.protocol && !m.address.empty() && other.address == m.address)
            r.error(t.get("address")->source(), context,
                    "address " + m.address + " is already " + other.name + "'s on line '" + l.name + "'");
    l.meters.push_back(std::move(m));
}

}  // namespace

std::variant<Plan, PlanErrors> parsePlan(std::string_view text, const std::string& file) {
    const auto ascii = asciiToml(text);
    if (const auto* problem = std::get_if<TextProblem>(&ascii))
        return PlanErrors{{file + ":" + std::to_string(problem->line) + ": " + problem->message}};
    Reader r(file);
    toml::table root;
    try {
        root = toml::parse(std::get<std::string>(ascii), file);
    } catch (const toml::parse_error& e) {
        r.error(e.source(), "", std::string(e.description()));
        return r.take();
    }
    Plan plan;
    plan.file = file;
    r.onlyKnown(root, {"name", "repeat", "max_reply_ms", "timeout_ms", "retries", "valve_timeout_ms",
                       "continue_after_failure", "steps", "line", "meter"}, "");
    plan.name = r.text(root, "name", "").value_or(file);
    Defaults d;
    d.repeat = static_cast<int>(r.integer(root, "repeat", 1, kMaxRepeat, "").value_or(1));
    if (const auto ms = r.integer(root, "max_reply_ms", 1, kMaxMs, "")) d.maxReplyMs = static_cast<int>(*ms);
    if (const auto ms = r.integer(root, "timeout_ms", 1, kMaxMs, "")) plan.timeoutMs = static_cast<int>(*ms);
    plan.retries = static_cast<int>(r.integer(root, "retries", 0, 100, "").value_or(2));
    plan.valveTimeoutMs = static_cast<int>(r.integer(root, "valve_timeout_ms", 0, kMaxMs, "").value_or(60000));
    d.continueAfterFailure = r.boolean(root, "continue_after_failure", "").value_or(false);
    if (auto steps = r.steps(root, "", std::nullopt)) d.steps = std::move(*steps);

    std::map<std::string, std::size_t> lines;
    const auto lineTables = r.tables(root, "line", "");
    for (std::size_t i = 0; i < lineTables.size(); ++i) readLine(r, *lineTables[i], static_cast<int>(i + 1), plan, lines);
    const auto meterTables = r.tables(root, "meter", "");
    for (std::size_t i = 0; i < meterTables.size(); ++i)
        readMeter(r, *meterTables[i], static_cast<int>(i + 1), d, plan, lines);
    if (lineTables.empty()) r.error(root.source(), "", "the plan has no [[line]]");
    if (meterTables.empty()) r.error(root.source(), "", "the plan has no [[meter]]");
    if (r.failed()) return r.take();
    // A line without meters opens nothing.
    std::erase_if(plan.lines, [](const Line& l) { return l.meters.empty(); });
    return plan;
}

std::variant<Plan, PlanErrors> loadPlan(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return PlanErrors{{path + ": cannot be read"}};
    std::ostringstream text;
    text << in.rdbuf();
    return parsePlan(text.str(), path);
}

}  // namespace mb::plan
