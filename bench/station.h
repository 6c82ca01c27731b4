#pragma once
// The station on real pseudo-terminals against vemra-rig, as the benchmarks run it: the
// window at full-HD size, three channels, the timing given, the board port open and the
// process's own CPU time and memory at hand.

#include "app/form1.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace vemra::bench {

struct Timing {
    int period = 10; // tenths of a millisecond
    int perBlock = 1;
    int totalPoints = 1'000'000;
    int shownPoints = 60'000;
    bool endless = false;
    bool meter = false;  // the external channel on, its port open and initialised
    bool journal = true; // false: the station without its run journal, to see what it costs
};

class BenchStation {
public:
    // Starts vemra-rig with rigArgs in a fresh directory and the station beside it, shown at
    // 1920 × 1080 (without a window manager showMaximized does nothing).
    BenchStation(const QString& rigProgram, const QStringList& rigArgs, const Timing& timing);
    ~BenchStation();

    Form1& form() { return *form_; }
    bool portOpen() const;
    // What the station told the operator, for a benchmark that ends in error.
    QString said() const;
    void start();
    // Runs the event loop for ms milliseconds, as the program does.
    static void run(int ms);
    // Runs the event loop until done() or ms milliseconds passed; says whether done.
    template <typename Done> static bool runUntil(Done done, int ms) {
        for (int waited = 0; waited < ms; waited += 50) {
            if (done())
                return true;
            run(50);
        }
        return done();
    }

private:
    QTemporaryDir dir_;
    QProcess rig_;
    RecordingDialogs* dialogs_ = nullptr;
    std::unique_ptr<Form1> form_;
};

double cpuSeconds();            // this process, all threads
double residentMiB();           // now
double peakResidentMiB();       // since the process started
long voluntarySwitches();       // times the process waited for something (its wake-ups)
double median(QList<double> v); // of a non-empty list

// The run journals in the station's folder now.
struct JournalFiles {
    int files = 0;
    double mib = 0;
};
JournalFiles journalFiles();

} // namespace vemra::bench
