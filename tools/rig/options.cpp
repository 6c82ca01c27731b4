#include "rig/options.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <span>
#include <string_view>

namespace vemra::rig {

namespace {

std::optional<std::uint64_t> number(const std::string& text, std::uint64_t min, std::uint64_t max) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    if (text.empty() || status != std::errc() || stop != end || value < min || value > max)
        return std::nullopt;
    return value;
}

// An option that takes a value. Exactly one of text, count and optionalCount is set.
struct Valued {
    std::string_view name;
    std::string* text;
    std::uint64_t* count;
    std::optional<std::uint64_t>* optionalCount;
    std::uint64_t min;
    std::uint64_t max = UINT64_MAX;
    std::span<const std::uint64_t> only = {}; // when not empty, the values taken
};

constexpr std::uint64_t kLineHz[] = {50, 60};

// The option called `name`, storing into `options`; none for an unknown name.
std::optional<Valued> valuedOption(Options& options, std::string_view name) {
    Faults& faults = options.faults;
    MeterFaults& meter = options.meterFaults;
    const Valued valued[] = {
        {"--dir", &options.dir, nullptr, nullptr, 0},
        {"--truth", &options.truthFile, nullptr, nullptr, 0},
        {"--log", &options.logFile, nullptr, nullptr, 0},
        {"--replay", &options.replayFile, nullptr, nullptr, 0},
        {"--seed", nullptr, &options.seed, nullptr, 0},
        {"--line-hz", nullptr, &options.lineHz, nullptr, 0, UINT64_MAX, kLineHz},
        {"--bad-checksum-every", nullptr, &faults.badChecksumEvery, nullptr, 1},
        {"--lose-byte-at", nullptr, nullptr, &faults.loseByteAt, 0},
        {"--extra-byte-at", nullptr, nullptr, &faults.extraByteAt, 0},
        // A record has at most 8 bytes: the extra byte can go after the last.
        {"--fault-offset", nullptr, &faults.faultOffset, nullptr, 0, 8},
        {"--after-stop", nullptr, &faults.afterStop, nullptr, 0},
        {"--vanish-at", nullptr, nullptr, &faults.vanishAt, 0},
        {"--records-limit", nullptr, &faults.recordsLimit, nullptr, 1},
        {"--meter-lose-char-at", nullptr, nullptr, &meter.loseCharAt, 0},
        {"--meter-lose-comma-at", nullptr, nullptr, &meter.loseCommaAt, 0},
        {"--meter-garbage-at", nullptr, nullptr, &meter.garbageAt, 0},
        {"--meter-reply-at", nullptr, nullptr, &meter.replyAt, 0},
        {"--meter-junk-at", nullptr, nullptr, &meter.junkAt, 0},
        {"--meter-junk-length", nullptr, &meter.junkLength, nullptr, 1, 4096},
        {"--meter-overload-at", nullptr, nullptr, &meter.overloadAt, 0},
        // A unit has 16 characters; what goes in may also go after the last.
        {"--meter-char-offset", nullptr, nullptr, &meter.charOffset, 0, 16},
    };
    const auto option = std::find_if(std::begin(valued), std::end(valued),
                                     [&](const Valued& v) { return v.name == name; });
    if (option == std::end(valued))
        return std::nullopt;
    return *option;
}

// On failure says why in error.
bool store(const Valued& option, const std::string& value, std::string& error) {
    if (option.text) {
        *option.text = value;
        return true;
    }
    const auto parsed = number(value, option.min, option.max);
    if (!option.only.empty() &&
        (!parsed || std::ranges::find(option.only, *parsed) == option.only.end())) {
        std::string choices;
        for (const std::uint64_t choice : option.only)
            choices += (choices.empty() ? "" : " or ") + std::to_string(choice);
        error = std::string(option.name) + " needs " + choices + ", not \"" + value + "\"";
        return false;
    }
    if (!parsed) {
        error = std::string(option.name) + " needs a whole number" +
                (option.max < UINT64_MAX
                     ? " from " + std::to_string(option.min) + " to " + std::to_string(option.max)
                 : option.min > 0 ? " of at least 1"
                                  : "") +
                ", not \"" + value + "\"";
        return false;
    }
    if (option.count)
        *option.count = *parsed;
    else
        *option.optionalCount = *parsed;
    return true;
}

} // namespace

std::string usage() {
    return "usage: vemra-rig [options]\n"
           "Plays the acquisition board on ./Comm1 and the multimeter on ./Comm2\n"
           "(pseudo-terminals) until SIGINT or SIGTERM. The multimeter answers SCPI\n"
           "lines like an Agilent 34401A and, after READ? with TRIG:SOUR EXT, takes one\n"
           "reading per board record while it is not busy: a reading takes as long as the\n"
           "station reckons (the trigger delay, NPLC power-line cycles, as many again for\n"
           "the zero while ZERO:AUTO is on, its 16 characters on the line). Its readings\n"
           "follow the force: a resistance near 1000 ohms, or with CONF:VOLT a few volts\n"
           "either side of zero. Bytes arrive a few at a time at each line's pace: 115200\n"
           "baud 8N1 on Comm1, 9600 baud 8N2 on Comm2.\n"
           "\n"
           "  --dir DIR                 where to link Comm1 and Comm2 (default: .)\n"
           "  --seed N                  noise seed (default: 1)\n"
           "  --line-hz HZ              the power line the meter integrates over: 50 or 60\n"
           "                            (default: 50)\n"
           "  --fast                    send records as fast as the pseudo-terminal takes\n"
           "                            them, not at the board line's pace\n"
           "  --truth FILE              write every record and reading sent (ground truth)\n"
           "  --log FILE                also write the log to FILE\n"
           "  --bad-checksum-every N    every N-th record of a run has a wrong checksum\n"
           "  --lose-byte-at N          record N (from 0) of a run misses a byte\n"
           "  --extra-byte-at N         record N (from 0) of a run has one byte too many\n"
           "  --fault-offset K          the byte lost is byte K of the record, the extra byte\n"
           "                            goes before byte K (0 to 8, default 1; past the\n"
           "                            record's end: at its end)\n"
           "  --after-stop N            N more records follow the stop byte\n"
           "  --vanish-at N             the board port disappears after N records of the\n"
           "                            first run\n"
           "  --records-limit N         a run stops by itself after N records\n"
           "  --meter-lose-char-at N    reading N (from 0) of the first run loses a character\n"
           "  --meter-lose-comma-at N   reading N of the first run loses its ','\n"
           "  --meter-garbage-at N      16 garbage characters go into reading N of the first\n"
           "                            run\n"
           "  --meter-reply-at N        a reply line +0,\"No error\" goes into reading N of\n"
           "                            the first run\n"
           "  --meter-junk-at N         junk bytes (any but ',', CR and LF) go into reading N\n"
           "                            of the first run\n"
           "  --meter-junk-length L     how many junk bytes (default: 16)\n"
           "  --meter-overload-at N     reading N of the first run is the overload,\n"
           "                            +9.90000000E+37\n"
           "  --meter-char-offset K     the lost character is character K of the unit (0 to\n"
           "                            14, 15 or 16 the ','; default 4), what goes in goes\n"
           "                            before character K (0 to 16; default 0)\n"
           "  --replay JOURNAL          play a run's journal instead of simulating: after\n"
           "                            each start byte, the board's bytes and the meter's\n"
           "                            characters at their recorded times from Start (with\n"
           "                            --fast, in their order as fast as the lines take\n"
           "                            them); after the stop byte, the records the board\n"
           "                            sent after the recorded stop, then nothing until the\n"
           "                            next start byte, which plays the run again. The meter\n"
           "                            answers nothing, the fault options do not apply and\n"
           "                            --truth only notes that the journal is the truth\n"
           "  --help                    this text\n";
}

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const auto equals = name.find('='); name.starts_with("--") && equals != name.npos) {
            inlineValue = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "--help" || name == "--fast") {
            if (inlineValue) {
                error = name + " takes no value";
                return std::nullopt;
            }
            (name == "--help" ? options.help : options.fast) = true;
            continue;
        }

        const auto option = valuedOption(options, name);
        if (!option) {
            error = "unknown option " + args[i];
            return std::nullopt;
        }

        // A following option is a forgotten value, not a file called "--fast".
        const bool missing = inlineValue ? inlineValue->empty()
                                         : i + 1 == args.size() || args[i + 1].starts_with("--");
        if (missing) {
            error = name + " needs a value";
            return std::nullopt;
        }
        if (!store(*option, inlineValue ? *inlineValue : args[++i], error))
            return std::nullopt;
    }
    return options;
}

} // namespace vemra::rig
