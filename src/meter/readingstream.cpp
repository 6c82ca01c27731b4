#include "meter/readingstream.h"

#include "meter/scpi.h"

#include <QStringList>

namespace vemra::meter {

namespace {

constexpr int kReading = kUnitLength - 1;
// The reading's shape: s a sign, d a digit, the rest as it stands.
constexpr char16_t kShape[] = u"sd.ddddddddEsdd";

bool separator(QChar c) {
    return c == u',' || c == u'\r' || c == u'\n';
}

bool fits(QChar c, char16_t shape) {
    switch (shape) {
    case u's':
        return c == u'+' || c == u'-';
    case u'd':
        return c.unicode() >= u'0' && c.unicode() <= u'9';
    default:
        return c == shape;
    }
}

// Whether `text` is the start of a reading, or the whole of one when it has 15 characters.
bool readingShaped(QStringView text, int shapeFrom = 0) {
    if (text.size() + shapeFrom > kReading)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!fits(text[i], kShape[shapeFrom + i]))
            return false;
    return true;
}

} // namespace

void ReadingStream::clearStretch() {
    tail_.clear();
    stretch_ = starts_ = ends_ = segment_ = 0;
    told_ = false;
}

// Told once for a damaged stretch, however many pieces it comes in.
void ReadingStream::damaged() {
    outOfStep_ = outOfStep_ || !told_;
    told_ = true;
}

void ReadingStream::append(QChar c) {
    tail_.append(c);
    if (tail_.size() > kReading)
        tail_.remove(0, 1);
    ++stretch_;
    segment_ = separator(c) ? 0 : segment_ + 1;
    // A remnant of a reading: its first six or its last five characters, which a single lost
    // character never takes both of.
    const QStringView t(tail_);
    starts_ += t.size() >= 6 && readingShaped(t.last(6));
    ends_ += t.size() >= 5 && readingShaped(t.last(5), kReading - 5);
}

void ReadingStream::endUnit(QChar c, std::vector<StreamItem>& out) {
    // In step: the 15 characters since the last reading are one, taken as they come.
    const bool inStep = stretch_ == kReading && segment_ == kReading;
    // After damage: the last 15 characters are a reading when they have its shape; what came
    // before them held as many readings as it holds remnants of (a lost ',' one whole reading,
    // a lost character one, noise or a reply none).
    const bool recovered = stretch_ > kReading && segment_ >= kReading && readingShaped(tail_);
    if (!inStep && !recovered) {
        if (stretch_ == 0 && c != u',')
            return; // the LF of a CR LF, or a line end alone
        append(c);
        damaged();
        return;
    }
    if (recovered) {
        damaged();
        const std::int64_t lost = std::max(starts_, ends_) - 1;
        if (lost > 0)
            out.push_back({QString(), lost});
    }
    out.push_back({*readingText(tail_ + u','), 0});
    clearStretch();
}

void ReadingStream::feed(QStringView chars, std::vector<StreamItem>& out) {
    for (const QChar c : chars) {
        if (passOver_) {
            passOver_ = !separator(c);
            continue;
        }
        if (separator(c))
            endUnit(c, out);
        else
            append(c);
    }
}

QString ReadingStream::state() const {
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 ")
               .arg(stretch_)
               .arg(segment_)
               .arg(starts_)
               .arg(ends_)
               .arg(int(told_))
               .arg(int(passOver_))
               .arg(int(outOfStep_)) +
           tail_;
}

void ReadingStream::restore(const QString& state) {
    const QStringList fields = state.section(u' ', 0, 6).split(u' ');
    const auto field = [&fields](int i) { return fields.value(i).toLongLong(); };
    stretch_ = field(0);
    segment_ = field(1);
    starts_ = field(2);
    ends_ = field(3);
    told_ = field(4) != 0;
    passOver_ = field(5) != 0;
    outOfStep_ = field(6) != 0;
    tail_ = state.section(u' ', 7).right(kReading);
}

void ReadingStream::realign() {
    const QStringView unit = QStringView(tail_).last(std::min<qsizetype>(segment_, tail_.size()));
    passOver_ = segment_ > 0 && segment_ <= kReading && readingShaped(unit);
    clearStretch();
}

} // namespace vemra::meter
