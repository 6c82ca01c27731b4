#pragma once
// The meter's characters cut into readings, whatever pieces the line delivers them in.
//
// A reading is 15 characters in the meter's fixed shape (sign, digit, point, eight digits,
// 'E', sign, two digits) ended by ',' — or by a line end, after the last reading of a finite
// trigger count. Whatever else comes between two readings (a unit that lost a character or
// its ',', noise, a reply to a query) is a damaged stretch: it costs the readings whose
// remnants it holds, and nothing more, so every later reading keeps its number.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <utility>
#include <vector>

namespace vemra::meter {

struct StreamItem {
    // A reading's text with the station's decimal comma, or, when empty, `lost` readings
    // whose units were damaged.
    QString reading;
    std::int64_t lost = 0;
};

class ReadingStream {
public:
    // Appends the readings, and the damaged stretches before them, that the characters end.
    void feed(QStringView chars, std::vector<StreamItem>& out);

    // Readings are numbered afresh from here. A unit half received belongs to no reading of
    // what follows: the rest of it, up to its ',', is passed over.
    void realign();

    // Where the stream stands inside a unit or a damaged stretch, to carry it on elsewhere;
    // restoring takes such a state back.
    QString state() const;
    void restore(const QString& state);

    // Whether a damaged stretch (something other than a reading) has begun since the last call
    // ("Err Mult!").
    bool takeOutOfStep() { return std::exchange(outOfStep_, false); }

private:
    void append(QChar c);
    void endUnit(QChar separator, std::vector<StreamItem>& out);
    void clearStretch();
    void damaged();

    // The characters since the last reading, of which only the last 15 are kept; the
    // remnants of readings among them are counted as they pass.
    QString tail_;
    std::int64_t stretch_ = 0;
    std::int64_t segment_ = 0; // characters since the last separator
    std::int64_t starts_ = 0;  // "+1.234": a reading's first six characters
    std::int64_t ends_ = 0;    // "9E+03": its last five
    bool told_ = false;        // the stretch's damage was told
    bool passOver_ = false;
    bool outOfStep_ = false;
};

} // namespace vemra::meter
