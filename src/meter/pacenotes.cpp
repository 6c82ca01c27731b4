// What the station tells of the meter's pace: at Start, whether the period leaves the meter
// time for a reading; after Stop, whether its readings match the run's samples. Told in the
// status bar, never in a box: the run starts and stops as asked. What the operator acts on
// comes first, as a status bar shows only what fits beside the link health.

#include "app/form1.h"

#include "common/numbertext.h"
#include "meter/pace.h"

#include <QAction>
#include <QLabel>
#include <QTimer>
#include <cmath>

namespace vemra {

namespace {

// The mains the meter integrates over is not known to the station: 50 Hz is the slower.
constexpr double kLineHz = 50;

QString tenths(double value) {
    return generalText(std::round(value * 10) / 10);
}

} // namespace

std::optional<meter::MeterSetting> Form1::meterSetting(QString* unknown) const {
    std::vector<std::string> lines{"SYST:REM"};
    for (int k = 0; k < 4; ++k)
        lines.push_back(LabelParam[k]->text().toStdString());
    lines.push_back("READ?");
    std::string line;
    const auto setting = meter::settingFromLines(lines, &line);
    if (unknown)
        *unknown = QString::fromStdString(line);
    return setting;
}

void Form1::checkMeterPace() {
    meterPaceNote_.clear();
    meterCheck_->stop();
    if (!AgilChann->isChecked())
        return;
    QString unknown;
    const auto setting = meterSetting(&unknown);
    const double period = CWNumEditFreq->value();
    if (!setting) {
        meterPaceNote_ = tr("The meter's pace cannot be told from its line \"%1\": check that "
                            "the period leaves it time for a reading")
                             .arg(unknown);
    } else if (const double shortest = meter::shortestPeriod(*setting, kLineHz);
               period < shortest) {
        meterPaceNote_ =
            tr("At a period of %4 ms the meter skips triggers and its readings leave their "
               "samples: a period of %5 ms or more keeps up (it takes %1 ms a reading: NPLC %2, "
               "autozero %3, 50 Hz mains)")
                .arg(tenths(1000 * meter::readingSeconds(*setting, kLineHz)),
                     generalText(setting->nplc), setting->autozero ? tr("on") : tr("off"),
                     tenths(period / 10), tenths(shortest / 10));
    }
    showStreamLosses();
}

// Once the readings still on the line are in: what a reading takes, twice, and a little.
void Form1::expectMeterReadings() {
    if (!SavedMultEnabled)
        return;
    const auto setting = meterSetting();
    const double seconds = setting ? meter::readingSeconds(*setting, kLineHz) : 1.0;
    meterCheck_->start(static_cast<int>(2000 * seconds) + 200);
}

bool Form1::meterCheckPending() const {
    return meterCheck_->isActive();
}

void Form1::checkMeterReadings() {
    const qint64 samples = run_.recordCount();
    const qint64 readings = run_.readingCount();
    if (readings < samples)
        meterPaceNote_ = tr("The meter skipped %1 of %2 triggers: from the first skip on, its "
                            "readings are not beside their samples")
                             .arg(samples - readings)
                             .arg(samples);
    else if (readings > samples)
        meterPaceNote_ = tr("The meter took %1 readings for %2 samples: the board does not "
                            "trigger it (its Ext Trig input, TRIG:SOUR EXT)")
                             .arg(readings)
                             .arg(samples);
    else
        return;
    showStreamLosses();
}

} // namespace vemra
