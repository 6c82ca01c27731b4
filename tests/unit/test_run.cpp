// The run's lifecycle as one table: what "Start", "Stop", a re-dimensioned store, the
// calibration mode, a lost board port and "Save" do to a run, and what the window may then
// offer.

#include "run/lifecycle.h"

#include <QtTest>

using namespace vemra;

class RunTest : public QObject {
    Q_OBJECT
private slots:
    void eachEventMovesTheRunAsItsTableSays_data() {
        QTest::addColumn<QString>("events");
        // State (N none, R running, S stopped), then 1/0 for: held, readings held,
        // calibrating, saved, "Save" offered, board list usable after a lost port.
        QTest::addColumn<QString>("after");
        const std::pair<const char*, const char*> rows[] = {
            {"", "N 000001"},
            {"start", "R 100000"},
            {"start stop", "S 100011"},
            {"start stop-meter", "S 110011"},
            {"start stop-meter start", "R 100000"},
            {"start stop redim", "S 000001"},
            {"start redim stop", "S 000001"},
            {"start stop calib-on", "S 101001"},
            {"start stop calib-on calib-off", "S 100011"},
            {"start stop calib-on redim calib-off", "S 000001"},
            {"start lost", "R 100000"},
            {"start stop lost", "S 100011"},
            {"start stop saved", "S 100111"},
            {"start stop saved start", "R 100000"},
            {"redim saved", "N 000001"},
            {"stop", "S 000001"},
        };
        for (const auto& [events, after] : rows)
            QTest::newRow(*events ? events : "nothing") << QString(events) << QString(after);
    }
    void eachEventMovesTheRunAsItsTableSays() {
        QFETCH(QString, events);
        const QMap<QString, RunEvent> names{{"start", RunEvent::Start},
                                            {"stop", RunEvent::Stop},
                                            {"stop-meter", RunEvent::StopWithMeter},
                                            {"redim", RunEvent::Redimension},
                                            {"lost", RunEvent::BoardPortLost},
                                            {"calib-on", RunEvent::CalibrationOn},
                                            {"calib-off", RunEvent::CalibrationOff},
                                            {"saved", RunEvent::Saved}};
        RunPhase phase;
        for (const QString& event : events.split(u' ', Qt::SkipEmptyParts))
            phase = nextPhase(phase, names.value(event));
        QString after(phase.state == RunState::None      ? "N "
                      : phase.state == RunState::Running ? "R "
                                                         : "S ");
        for (bool flag : {phase.held, phase.readingsHeld, phase.calibrating, phase.saved,
                          canSave(phase), boardListUsable(phase)})
            after += flag ? u'1' : u'0';
        QTEST(after, "after");
    }
};

QTEST_APPLESS_MAIN(RunTest)
#include "test_run.moc"
