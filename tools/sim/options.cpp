#include "tools/sim/options.h"

#include <charconv>
#include <functional>
#include <map>
#include <optional>

namespace mb::sim {

namespace {

std::optional<unsigned long> parseNumber(const std::string& text, int base = 10) {
    std::string digits = text;
    if (base == 10 && digits.size() > 2 && digits[0] == '0' &&
        (digits[1] == 'x' || digits[1] == 'X')) {
        digits = digits.substr(2);
        base = 16;
    }
    unsigned long value = 0;
    const char* end = digits.data() + digits.size();
    auto [ptr, ec] = std::from_chars(digits.data(), end, value, base);
    if (digits.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

using Setter = std::function<std::optional<std::string>(Options&, const std::string&)>;

// Each setter returns an error text, or nullopt when the value was taken.
Setter number(unsigned long low, unsigned long high,
              std::function<void(Options&, unsigned long)> set) {
    return [=](Options& o, const std::string& v) -> std::optional<std::string> {
        auto n = parseNumber(v);
        if (!n || *n < low || *n > high)
            return "expects a number from " + std::to_string(low) + " to " + std::to_string(high);
        set(o, *n);
        return std::nullopt;
    };
}

const std::map<std::string, Setter>& setters() {
    static const std::map<std::string, Setter> table{
        {"--device",
         [](Options& o, const std::string& v) -> std::optional<std::string> {
             o.line.device = v;
             return std::nullopt;
         }},
        {"--link",
         [](Options& o, const std::string& v) -> std::optional<std::string> {
             o.link = v;
             return std::nullopt;
         }},
        {"--tcp", number(0, 65535, [](Options& o, unsigned long n) { o.tcpPort = static_cast<int>(n); })},
        {"--baud", number(50, 4000000, [](Options& o, unsigned long n) { o.line.baud = n; })},
        {"--parity",
         [](Options& o, const std::string& v) -> std::optional<std::string> {
             if (v.size() != 1 || std::string("NEOMSneoms").find(v[0]) == std::string::npos)
                 return "expects one of N, E, O, M, S";
             o.line.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(v[0])));
             return std::nullopt;
         }},
        {"--line-rate",
         number(50, 4000000, [](Options& o, unsigned long n) { o.line.lineRate = n; })},
        {"--bits-per-byte",
         number(10, 11, [](Options& o, unsigned long n) { o.line.bitsPerByte = n; })},
        {"--cj188-address",
         [](Options& o, const std::string& v) -> std::optional<std::string> {
             auto address = parseCj188Address(v);
             if (!address) return "expects 14 decimal digits";
             o.sim.cj188.address = *address;
             return std::nullopt;
         }},
        {"--cj188-heat-address",
         [](Options& o, const std::string& v) -> std::optional<std::string> {
             auto address = parseCj188Address(v);
             if (!address) return "expects 14 decimal digits";
             o.sim.cj188Heat.address = *address;
             return std::nullopt;
         }},
        {"--mbus-meters", number(1, MbusMeter::kHighestPrimary,
                                 [](Options& o, unsigned long n) { o.sim.mbusMeters = n; })},
        {"--meter-type",
         [](Options& o, const std::string& v) -> std::optional<std::string> {
             std::string digits = v;
             if (!digits.empty() && (digits.back() == 'H' || digits.back() == 'h'))
                 digits.pop_back();
             auto n = digits.size() <= 2 ? parseNumber(digits, 16) : std::nullopt;
             if (!n) return "expects two hex digits, e.g. 10 or 21H";
             o.sim.cj188.meterType = static_cast<std::uint8_t>(*n);
             return std::nullopt;
         }},
        {"--mbus-address", number(0, MbusMeter::kHighestPrimary,
                                  [](Options& o, unsigned long n) {
                                      o.sim.mbus.primaryAddress = static_cast<std::uint8_t>(n);
                                  })},
        {"--mbus-id",
         [](Options& o, const std::string& v) -> std::optional<std::string> {
             auto n = v.size() == 8 ? parseNumber(v) : std::nullopt;
             if (!n || v.find_first_not_of("0123456789") != std::string::npos)
                 return "expects 8 decimal digits";
             o.sim.mbus.identNumber = static_cast<std::uint32_t>(*n);
             return std::nullopt;
         }},
        {"--manufacturer",
         [](Options& o, const std::string& v) -> std::optional<std::string> {
             if (!packManufacturer(v)) return "expects three capital letters";
             o.sim.mbus.manufacturer = v;
             return std::nullopt;
         }},
        {"--fault",
         [](Options& o, const std::string& v) -> std::optional<std::string> {
             std::size_t at = 0;
             while (at <= v.size()) {
                 std::size_t comma = v.find(',', at);
                 std::string name =
                     v.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
                 auto fault = parseFault(name);
                 if (!fault && name != "none")
                     return "unknown fault '" + name +
                            "' (bad-checksum, split, noise, silent, late, echo, flood)";
                 if (fault) o.sim.faults.faults |= static_cast<unsigned>(*fault);
                 if (comma == std::string::npos) break;
                 at = comma + 1;
             }
             return std::nullopt;
         }},
        {"--fault-every",
         number(1, 1000000, [](Options& o, unsigned long n) { o.sim.faults.every = n; })},
        {"--cj188-meters", number(1, 9, [](Options& o, unsigned long n) { o.sim.cj188Meters = static_cast<unsigned>(n); })},
        {"--telegrams", number(1, 20, [](Options& o, unsigned long n) { o.sim.mbus.telegrams = static_cast<unsigned>(n); })},
        {"--valve-ms", number(0, 600000,
                              [](Options& o, unsigned long n) {
                                  o.sim.cj188.valveMs = o.sim.cj188Heat.valveMs = static_cast<unsigned>(n);
                              })},
        {"--delay-ms",
         number(0, 600000, [](Options& o, unsigned long n) { o.sim.faults.delayMs = n; })},
        {"--split-bytes",
         number(1, 4096, [](Options& o, unsigned long n) { o.sim.faults.splitBytes = n; })},
        {"--split-pause-ms",
         number(0, 60000, [](Options& o, unsigned long n) { o.sim.faults.splitPauseMs = n; })},
        {"--noise-bytes",
         number(1, 65536, [](Options& o, unsigned long n) { o.sim.faults.noiseBytes = n; })},
        {"--flood-bytes",
         number(1, 1 << 24, [](Options& o, unsigned long n) { o.sim.faults.floodBytes = n; })},
        {"--seed", number(0, 0xFFFFFFFFul,
                          [](Options& o, unsigned long n) {
                              o.sim.faults.seed = static_cast<std::uint32_t>(n);
                          })},
    };
    return table;
}

}  // namespace

std::variant<Options, OptionError> parseOptions(const std::vector<std::string>& args) {
    Options options;
    // The defaults answer the window's untouched fields: DEVICE ID empty, vendor 33 78.
    options.sim.cj188.address = *parseCj188Address("78330000000000");
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i], value;
        if (name == "-h" || name == "--help") {
            options.help = true;
            continue;
        }
        const auto equals = name.find('=');
        const bool inlineValue = equals != std::string::npos;
        if (inlineValue) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        const auto found = setters().find(name);
        if (found == setters().end()) return OptionError{"unknown option " + name};
        if (!inlineValue) {
            if (i + 1 >= args.size()) return OptionError{name + " needs a value"};
            value = args[++i];
        }
        if (auto error = found->second(options, value)) return OptionError{name + ": " + *error};
    }
    if (options.tcpPort >= 0 && !options.line.device.empty())
        return OptionError{"--tcp and --device: the line is one or the other"};
    if (options.tcpPort >= 0 && !options.link.empty())
        return OptionError{"--link names a pty; with --tcp the line is an address"};
    // The meters take consecutive addresses and numbers; the last must still be valid.
    const unsigned extra = options.sim.mbusMeters - 1;
    if (options.sim.mbus.primaryAddress + extra > MbusMeter::kHighestPrimary)
        return OptionError{"--mbus-meters: " + std::to_string(options.sim.mbusMeters) +
                           " meters from address " +
                           std::to_string(options.sim.mbus.primaryAddress) + " pass 250"};
    if (options.sim.mbus.identNumber + extra > 99999999u)
        return OptionError{"--mbus-meters: identification numbers pass 99999999"};
    return options;
}

std::string usageText() {
    return R"(usage: meterbench-sim [options]
Virtual CJ/T 188 water and heat meters and M-Bus heat meters on a pseudo-terminal,
or behind a network gateway (--tcp). The first line of output is the path of the line
(or tcp://127.0.0.1:PORT); every request and reply follows.

  --link PATH            make PATH a symbolic link to the line (removed on exit)
  --device PATH          use this serial device instead of a pseudo-terminal
  --tcp PORT             serve the line over raw TCP on 127.0.0.1:PORT (0: a free port),
                         one client at a time; a second one is closed at once
  --baud N               device speed (default 2400)
  --parity N|E|O|M|S     device parity (default E); never required
  --cj188-address DIGITS 14 digits, A6 first (default 78330000000000)
  --meter-type HH        CJ/T 188 meter type in hex (default 10)
  --cj188-heat-address DIGITS  the CJ/T 188 heat meter (type 20H), A6 first
                         (default 78330000000001)
  --mbus-address N       M-Bus primary address 0..250 (default 1)
  --mbus-id DIGITS       M-Bus identification number, 8 digits (default 12345678)
  --mbus-meters N        M-Bus meters on the line, at consecutive addresses and
                         identification numbers from the two above (default 1)
  --manufacturer ABC     M-Bus manufacturer letters (default SIM)
  --fault NAME[,NAME]    bad-checksum, split, noise, silent, late, echo, flood (repeatable)
  --fault-every N        only every Nth answered request is faulty (default 1)
  --cj188-meters N       CJ/T 188 water meters, 1..9: the others at the tens digit
                         of --cj188-address counting up (default 1)
  --telegrams N          spread each M-Bus meter's records over N telegrams (default 1)
  --valve-ms MS          time a CJ/T 188 valve takes to open or close (default 0)
  --delay-ms MS          delay of the late fault (default 1500)
  --split-bytes N        chunk size of the split fault (default 4)
  --split-pause-ms MS    pause between split chunks (default 40)
  --noise-bytes N        bytes of the noise fault (default 16)
  --flood-bytes N        bytes of the flood fault (default 4096)
  --seed N               seed of the random bytes (default 1)
  --line-rate BAUD       pace output like a real line at BAUD (default: unpaced)
  --bits-per-byte 10|11  bits a byte takes on the paced line (default 11)
)";
}

}  // namespace mb::sim
