#pragma once
// The station's configuration file "Vemra.ini": 26 lines of key, TAB, value in a fixed order,
// 8-bit text, every line ended by CR LF. Only the format lives here; the window reads and
// writes the file and applies the values.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace vemra {

constexpr int configLineCount = 26;

// The keys in file order, exactly as written and compared.
const std::array<QString, configLineCount>& configKeys();

// Every setting the file holds, in file order.
struct Config {
    std::int16_t comm1 = 0; // port numbers, 0 or less = none
    std::int16_t comm2 = 0;
    double totalPoints = 0;
    double period = 0;
    double pointsPerBlock = 0;
    int infinite = 0; // check-box states: 0 unchecked, 1 checked
    double displayedPoints = 0;
    std::array<int, 3> enable{};
    std::array<double, 3> coefficients{};
    std::array<QString, 3> labels;
    double actuatorValue = 0;
    double prescaler = 0;
    double exponent = 0;
    QString meterLabel;
    std::array<QString, 5> meterCommands;
    bool meterEnabled = false;

    friend bool operator==(const Config&, const Config&) = default;
};

enum class LoadError {
    InitFileError, // fewer than 26 lines
    Corrupted,     // a key out of place or a value that cannot be applied
};

// The operator's message for a failed load: "Init File Error!" or "Corrupted Init File!".
QString loadErrorMessage(LoadError error);

// A load is all or nothing: either every line passed and config holds the values, or error
// and detail (which line, which key, why) say what stopped it.
struct ConfigLoad {
    std::optional<Config> config;
    LoadError error = LoadError::InitFileError;
    QString detail;

    explicit operator bool() const { return config.has_value(); }
};

// Reads the first 26 lines of bytes (ended by CR, CR LF or LF; anything after them ignored).
ConfigLoad parseConfig(const QByteArray& bytes);

// The whole file: numbers in the general text form, states "0"/"1", the boolean "True" or
// "False", texts as they are; characters outside Latin-1 are written as '?'.
QByteArray serializeConfig(const Config& config);

} // namespace vemra
