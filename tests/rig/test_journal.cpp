// The run's journal against real processes and lines: the station's program ended mid-run in
// every way an operator's station ends, then started again in the same folder, recovers every
// record it had taken, as the rig sent it; a saved run's journal played on the rig into another
// station gives the same data file again.

#include "rig/rigbench.h"

using namespace vemra::test;

namespace {

// The station's program in its own process, in the rig's folder, driven line by line
// (tests/rig/station_process.cpp).
class StationProcess {
public:
    explicit StationProcess(const QString& dir) {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel); // a sanitizer's report
        process.start(qEnvironmentVariable("VEMRA_STATION"), {dir});
    }
    ~StationProcess() {
        process.kill();
        process.waitForFinished(3000);
    }

    // The counts of the station's answer to `command`: SampleCount, SavedSampleCount.
    QList<int> ask(const QString& command) {
        process.write(command.toLatin1() + '\n');
        return answer(command.section(u' ', 0, 0));
    }
    // The counts of the next answer that begins with `word`; none when the process ends first.
    QList<int> answer(const QString& word) {
        while (process.canReadLine() || process.waitForReadyRead(10000)) {
            const QList<QByteArray> fields = process.readLine().trimmed().split(' ');
            if (fields[0] == word.toLatin1())
                return {fields.value(1).toInt(), fields.value(2).toInt()};
        }
        return {};
    }

    QProcess process;
};

} // namespace

class RigJournalTest : public QObject {
    Q_OBJECT
private slots:
    // Each ending comes about two seconds after the first records; the count the journal must
    // hold is the station's own at its end, and for a kill the count a second before it (the
    // journal reaches the kernel every 100 ms). The recovered rows are the rig's records one
    // by one, and each meter reading recovered is the one the rig sent for that row.
    void everyEndingKeepsTheRun_data() {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("period");
        QTest::addColumn<bool>("meter");
        QTest::newRow("killed (SIGKILL), with the meter") << "kill" << 3 << 250 << true;
        QTest::newRow("terminated (SIGTERM)") << "term" << 3 << 20 << false;
        QTest::newRow("File → Exit") << "exit" << 5 << 10 << false;
        QTest::newRow("window closed, with the meter") << "close" << 7 << 250 << true;
        QTest::newRow("stopped, not saved, closed") << "stop" << 3 << 20 << false;
    }
    void everyEndingKeepsTheRun() {
        QFETCH(QString, ending);
        QFETCH(int, mask);
        QFETCH(int, period);
        QFETCH(bool, meter);
        FormFixture fx; // its folder is the station's, before and after the ending
        Rig rig(fx.dir(), {"--after-stop", "25"}); // records follow a stop, as on a real line
        QVERIFY(rig.ready);
        // Ten seconds of records: the run is under way at its ending.
        const RunSettings s{mask, period, meter ? 5 : 10, 100'000 / period};
        int held = 0, atKill = 0;
        {
            StationProcess station(fx.dir());
            const QString run = QString::asprintf("run %d %d %d %d %s", mask, period, s.perBlock,
                                                  s.total, meter ? "meter" : "");
            QVERIFY(!station.ask(run).isEmpty());
            QTRY_VERIFY(station.ask("count").value(0) > 0);
            QTest::qWait(1000);
            const int earlier = station.ask("count").value(0);
            QTest::qWait(1000);
            if (ending == u"kill") {
                atKill = station.ask("count").value(0);
                station.process.kill();
                held = earlier;
            } else if (ending == u"term") {
                station.process.terminate();
                held = station.answer("ended").value(1);
            } else if (ending == u"exit") {
                held = station.ask("exit").value(0);
            } else if (ending == u"close") {
                held = station.ask("close").value(1);
            } else {
                // Closing takes the stop action once more, and with it the records that came
                // after Stop: the run as the window held it at its end.
                const int stopped = station.ask("stop").value(1);
                QTest::qWait(300);
                held = station.ask("close").value(1);
                QVERIFY(held > stopped);
            }
            station.process.waitForFinished(5000);
            QCOMPARE(station.process.state(), QProcess::NotRunning);
            QCOMPARE(station.process.exitStatus(),
                     ending == u"kill" ? QProcess::CrashExit : QProcess::NormalExit);
            QVERIFY(ending == u"kill" || station.process.exitCode() == 0);
            QVERIFY2(held > 0 && held < s.total / 2, qPrintable(QString::number(held)));
        }

        fx.start();
        QCOMPARE(fx.dialogs->asked.size(), 1);
        const QString offer = fx.dialogs->asked[0].text;
        const QRegularExpressionMatch told =
            QRegularExpression("^A run of (\\d+-\\d+ \\d+-\\d+-\\d+) was not saved: (\\d+) "
                               "samples, (\\d+) readings\\.$")
                .match(offer);
        QVERIFY2(told.hasMatch(), qPrintable(offer));
        QVERIFY(fx.dialogs->answer("Recover"));
        const QString name = "VemraData " + told.captured(1) + " (recovered).txt";
        QCOMPARE(fx.said(), QStringList("DOWNLOAD: Data Saved: " + name));
        QVERIFY(QDir(fx.dir() + "/VemraJournal").entryList({"*.journal"}).isEmpty());

        QList<QByteArray> values, readings;
        for (const QByteArray& row : dataRows(fx.dir() + u'/' + name)) {
            values << row.left(row.lastIndexOf('\t') + 1);
            readings << row.mid(row.lastIndexOf('\t') + 1);
        }
        QCOMPARE(values.size(), told.captured(2).toInt());
        if (ending == u"kill")
            QVERIFY2(values.size() >= held,
                     qPrintable(QString::asprintf("%d of %d, %d at the kill", int(values.size()),
                                                  held, atKill)));
        else
            QCOMPARE(values.size(), held);
        QCOMPARE(values, rig.sent(1, s, values.size()));
        const QList<QByteArray> sentReadings = rig.readings(1);
        int present = 0;
        for (int i = 0; i < readings.size(); present += !readings[i++].isEmpty())
            QVERIFY2(readings[i].isEmpty() || readings[i] == sentReadings.value(i),
                     qPrintable(QString::number(i)));
        QCOMPARE(present, told.captured(3).toInt());
        QCOMPARE(present > 0, meter);
    }

    // A run with a lost byte, bad checksums and records after its stop, saved with its journal
    // kept, played on the rig into a station in another folder that runs the same settings:
    // the same data file, byte for byte, at the recorded pace and at the lines' fastest. The
    // operator stops the second run where the first was stopped: once it has taken as many of
    // the board's bytes.
    void replayedJournalGivesTheSavedFile_data() {
        QTest::addColumn<bool>("byItself");
        QTest::addColumn<QStringList>("pace");
        for (const bool byItself : {false, true})
            for (const bool fast : {false, true})
                QTest::addRow("%s, %s", byItself ? "ended by itself" : "stopped",
                              fast ? "as fast as the lines take it" : "at the recorded times")
                    << byItself << (fast ? QStringList("--fast") : QStringList());
    }
    void replayedJournalGivesTheSavedFile() {
        QFETCH(bool, byItself);
        QFETCH(QStringList, pace);
        const RunSettings s{3, 20, 10, byItself ? 300 : 2000};
        const auto runAndEnd = [byItself](Form1& f, const std::function<bool()>& stopNow) {
            f.CommandSendData->click();
            const bool ended = QTest::qWaitFor(
                [&] { return byItself ? f.CommandSave->isEnabled() : stopNow(); }, 3000);
            if (!byItself)
                f.CommandOff->click();
            QTest::qWait(200); // the records after the stop
            return ended;
        };
        Bench first({"--lose-byte-at", "40", "--bad-checksum-every", "23", "--after-stop", "25"});
        QVERIFY(first.rig.ready);
        first.form->KeepRawCaptures->trigger();
        first.configure(s);
        qint64 taken = 0;
        QVERIFY(runAndEnd(*first.form, [&] {
            taken = first.form->LinkCount.bytes;
            return first.form->SampleCount >= 300;
        }));
        const QByteArray saved = readFile(first.saveFile(1));
        QVERIFY(saved.count('\n') > 300);
        QVERIFY(first.form->journal().flush(5000));
        const QString folder = first.dir() + "/VemraJournal/";
        const QStringList kept = QDir(folder).entryList({"*.journal"});
        QCOMPARE(kept.size(), 1);

        Bench second(QStringList{"--replay", folder + kept[0]} + pace);
        QVERIFY(second.rig.ready);
        second.configure(s);
        QVERIFY(runAndEnd(*second.form, [&] { return second.form->LinkCount.bytes >= taken; }));
        QCOMPARE(readFile(second.saveFile(1)), saved);
    }
};

QTEST_MAIN(RigJournalTest)
#include "test_journal.moc"
