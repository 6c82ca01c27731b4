// A run as the operator makes it, from Start through the board's stream to Stop, Save, chart
// export and closing: checked on the wire, in the controls' states and in the files left.

#include "support/formfixture.h"

#include <tuple>

using namespace vemra::test;

class AcquisitionTest : public QObject {
    Q_OBJECT
private slots:
    // One letter a step: p port, s Start, S Start's handler (its button is off), o Stop,
    // c "Select Channels" (what leaving the calibration mode gives back is the channel tests'
    // business). Expected, 1 enabled: Start, Stop, Save, timing panel, coefficients box,
    // edits, port list, "Enable All Channels" and "Select Channels".
    void controlsFollowTheAcquisitionState_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        const std::tuple<const char*, const char*, const char*> rows[] = {
            {"No port", "", "00000110"},           {"Ready", "p", "10011101"},
            {"Running", "ps", "01000000"},         {"Stopped", "pso", "10111101"},
            {"Running, no port", "S", "01000010"}, {"Stopped, no port", "So", "10111111"},
            {"Calibrating", "psoc", "00001101"}};
        for (const auto& [name, path, expected] : rows)
            QTest::newRow(name) << QString(path) << QString(expected);
    }
    void controlsFollowTheAcquisitionState() {
        QFETCH(QString, path);
        FormFixture fx;
        Form1& f = fx.start();
        const std::map<QChar, std::function<void()>> act{
            {'p', [&] { fx.chooseBoardPort(1); }},
            {'s', [&] { f.CommandSendData->click(); }},
            {'S', [&] { f.CommandSendData_Click(); }},
            {'o', [&] { f.CommandOff->click(); }},
            {'c', [&] { f.SelectChannel->trigger(); }}};
        for (QChar step : path)
            act.at(step)();
        // A control inside a disabled panel is still enabled itself.
        const auto own = [](const QWidget* w) { return !w->testAttribute(Qt::WA_ForceDisabled); };
        QTEST(flags({f.CommandSendData->isEnabled(), f.CommandOff->isEnabled(),
                     f.CommandSave->isEnabled(), f.FrameContols->isEnabled(),
                     f.CheckCoeff->isEnabled(),
                     own(f.CWNumEditNumPoint) && own(f.CWNumEditFreq) && own(f.CWNumEdit1),
                     f.ComboPort->isEnabled(),
                     f.EnbleAll->isEnabled() && f.SelectChannel->isEnabled()}),
              "expected");
        QVERIFY(path.contains('p') || fx.board->written().isEmpty());
    }

    // Start sends the channels and the period, empties what was waiting from before the run,
    // and only then the start byte.
    void startStopStartAndClose() {
        FormFixture fx;
        Form1& f = fx.start();
        fx.enableChannels(3);
        f.CWNumEdit1->setValue(2000);
        fx.chooseBoardPort(1);
        fx.board->deliver(QByteArray(7, '\x55'));
        fx.startRun(1000);
        QCOMPARE(fx.board->log().mid(fx.board->log().size() - 2),
                 (QStringList{"clear", "write 31"}));
        fx.send(record({7, 100}).repeated(10));
        f.MultCount = 12;

        f.CommandOff->click();
        QCOMPARE(fx.board->written().toHex(' '), QByteArray("43 03 54 01 90 31 30"));
        // Stopping discards nothing and leaves the port open for late records.
        QVERIFY(f.SampleData.at(1, 9) == 100 && f.MSComm1->portOpen());

        f.CommandSendData->click();
        QVERIFY(f.SampleCount == 0 && f.MultCount == 0 && f.CWGraph1->pointCount(1) == 0);
        QVERIFY(f.TextAcq->text() == "0" && f.SampleData.at(1, 9) == 0);
        QCOMPARE(f.CWGraph1->axisMaximum(1), 2000.0);

        fx.board->clearLog();
        f.close();
        QCOMPARE(fx.board->log(), (QStringList{"write 30", "close"}));
    }

    void vanishedAdapterThenStopAndSave() {
        FormFixture fx;
        Form1& f = fx.start();
        f.CoeffCH0 = 0.5;
        fx.startRun(1000);
        fx.sendBlocks(0, 20);

        fx.board->breakDevice(QStringLiteral("No such device"));
        QTRY_VERIFY(!f.MSComm1->portOpen());
        QTRY_COMPARE(fx.dialogs->shown.size(), 1);
        QVERIFY(fx.said()[0].contains(QStringLiteral("No such device")));
        // Still running, with the port list locked: only "Stop" goes on from here.
        QCOMPARE(flags({f.CommandOff->isEnabled(), f.CommandSendData->isEnabled(),
                        f.ComboPort->isEnabled(), f.FrameContols->isEnabled()}),
                 QStringLiteral("1000"));

        fx.board->clearLog();
        f.CommandOff->click();
        // The stop byte has nowhere to go; the port can be chosen once it is back.
        QVERIFY(fx.board->log().isEmpty() && f.ComboPort->isEnabled());
        f.CommandSave->click();
        QCOMPARE(fx.said().last(), QStringLiteral("DOWNLOAD: Data Saved"));
        const QList<QByteArray> lines = fx.dataLines();
        QCOMPARE(lines.size(), 1 + 20 + 1); // header, data lines, nothing after the last CR LF
        QCOMPARE(lines[20], QByteArray("760\t9,5\t\r"));

        fx.chooseBoardPort(1);
        QVERIFY(f.MSComm1->portOpen() && f.CommandSendData->isEnabled() &&
                !f.CommandOff->isEnabled());
    }

    void finiteRunKeepsTheEndingBlock_data() {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("stopAt"); // the operator clicks Stop after this many points
        QTest::addColumn<int>("sent");
        // Kept, saved, and stop bytes: blocks that found the run at its end, or Stop.
        QTest::addColumn<QList<int>>("counts");
        QTest::newRow("1000") << 1000 << -1 << 1000 << QList<int>{1000, 1000, 1};
        QTest::newRow("1005") << 1005 << -1 << 1010 << QList<int>{1010, 1010, 1};
        QTest::newRow("5") << 5 << -1 << 10 << QList<int>{10, 10, 1};
        // The store has room for two late blocks; a third is dropped whole.
        QTest::newRow("1000, 3 late") << 1000 << -1 << 1030 << QList<int>{1020, 1020, 4};
        QTest::newRow("late after Stop") << 1000 << 20 << 30 << QList<int>{30, 20, 1};
    }
    void finiteRunKeepsTheEndingBlock() {
        QFETCH(int, total);
        QFETCH(int, stopAt);
        QFETCH(int, sent);
        QFETCH(QList<int>, counts);
        FormFixture fx;
        Form1& f = fx.start();
        fx.startRun(total);
        fx.board->clearWritten();
        for (int first = 0; first < sent; first += 10) {
            if (first == stopAt)
                f.CommandOff->click();
            fx.send(block(first, 10));
        }
        const int kept = counts[0];
        QCOMPARE((QList<int>{f.SampleCount, f.SavedSampleCount}), counts.mid(0, 2));
        QCOMPARE(fx.board->written(), QByteArray(counts[2], '\x30'));
        QVERIFY(f.TextAcq->text() == QString::number(kept) && f.CommandSave->isEnabled());
        for (int i = 0; i < kept; ++i)
            QCOMPARE(f.SampleData.at(0, i), double(i));
        QCOMPARE(f.DroppedBlocks, (sent - kept) / 10);
        QCOMPARE(f.statusBar()->currentMessage().isEmpty(), sent == kept);
    }

    void endlessRunWraps() {
        FormFixture fx;
        Form1& f = fx.start();
        fx.startRun(20, 10, true);
        for (int first : {0, 100, 200})
            fx.send(block(first, 10));
        // Columns 10.. are never written; the run goes on.
        QCOMPARE(
            (QList<double>{double(f.SampleCount), f.SampleData.at(0, 0), f.SampleData.at(0, 10)}),
            (QList<double>{10, 200, 0}));
        QVERIFY(f.CommandOff->isEnabled() && fx.board->written().endsWith('\x31'));

        // Fed faster than it takes, the port keeps its input buffer's worth (32000 bytes): the
        // oldest whole blocks go, the newest are decoded, and the operator is told.
        fx.send(block(300, 10).repeated(802) + block(400, 10));
        QVERIFY(f.OverrunBytes == 120 && f.SampleData.at(0, 0) == 400);
        fx.send(block(300, 10).repeated(803)); // each overrun counted once
        QCOMPARE(f.statusBar()->currentMessage(),
                 QStringLiteral("Input overrun: 240 bytes lost (60 records)"));
    }

    void liveValuesFollowEachBlockAndBadChecksumsMarkTheRun() {
        FormFixture fx;
        Form1& f = fx.start();
        f.CoeffCH2 = 3;
        fx.enableChannels(6);
        fx.startRun(1000, 4);
        QByteArray sent;
        for (int i = 0; i < 4; ++i)
            sent += record({i == 0 ? 10 : 0, 100 + i});
        fx.send(sent);
        // Averages of the scaled samples, half to even: CH1 10 / 4 = 2.5, CH2 3 × 406 / 4 = 304.5.
        QCOMPARE(f.LabelForce->text() + ' ' + f.LabelCH1->text() + ' ' + f.LabelCH2->text(),
                 QStringLiteral("0 2 304"));
        // A screen reader hears the newest values, the live ones within a repaint.
        QTRY_COMPARE(spoken(f.LabelCH2), QStringLiteral("304||Average CH2"));
        QCOMPARE(spoken(f.TextAcq), QStringLiteral("Acquired Points|4|"));
        QCOMPARE((QList<double>{double(f.CWGraph1->pointCount(0)), f.CWGraph1->pointY(0, 0),
                                f.CWGraph1->pointY(1, 3)}),
                 (QList<double>{4, 10, 309}));

        f.MSComm1_OnComm(); // an event that brought no data charts nothing again
        QVERIFY(f.CWGraph1->pointCount(0) == 4 && f.SampleCount == 4 &&
                f.LabelCH2->text() == "304");

        // With the graph off the values still follow. A wrong checksum waits for the next two
        // records to tell a bad record from a slip of the line; it marks the run until the
        // operator clicks the mark, and the samples are kept as they came.
        f.GraphToggle->setChecked(false);
        fx.send(record({5, 0}).repeated(3) + record({5, 65535}, true));
        QCOMPARE(f.TextAcq->text() + ' ' + f.LabelCH1->text() + ' ' + f.LabelBuff->text(),
                 QStringLiteral("7 5 "));
        fx.send(record({1, 1}).repeated(5)); // a good block, and a record of the next
        QCOMPARE(f.TextAcq->text() + ' ' + f.LabelCH1->text() + ' ' + f.LabelBuff->text(),
                 QStringLiteral("12 2 Error Comm"));
        QVERIFY(f.SampleData.at(1, 7) == 3 * 65535 && f.CWGraph1->pointCount(0) == 4);
        f.LabelBuff_Click();
        QVERIFY(f.LabelBuff->text() == "0" && f.MSComm1->inBufferCount() == 0);
    }

    // The status bar's link health: rates over the last interval and counts since Start.
    void statusBarTellsTheLinksHealthSinceStart_data() {
        QTest::addColumn<int>("badRecords");   // among 100 CH0 records, 10 a block
        QTest::addColumn<int>("total");        // points of the run: fewer than sent drops blocks
        QTest::addColumn<int>("quietMs");      // then nothing for this long
        QTest::addColumn<QByteArray>("meter"); // units the meter sends
        QTest::addColumn<QString>("shown");
        const QString board("Board: %1, %2 checksum errors (0 damaged), %3 dropped blocks");
        const QString rates("100 records/s, 400 bytes/s");
        QTest::newRow("clean stream")
            << 0 << 1000 << 0 << QByteArray() << board.arg(rates).arg(0).arg(0);
        QTest::newRow("checksum errors")
            << 3 << 1000 << 0 << QByteArray() << board.arg(rates).arg(3).arg(0);
        // 30 points keep 30 + 21 spare columns: of ten blocks five fit.
        QTest::newRow("drops") << 0 << 30 << 0 << QByteArray() << board.arg(rates).arg(0).arg(5);
        QTest::newRow("quiet link")
            << 0 << 1000 << 2500 << QByteArray() << board.arg("no data for 2 s").arg(0).arg(0);
        QTest::newRow("meter") << 0 << 1000 << 0
                               << QByteArray("+1.00000000E+03,").repeated(3) + "+1.0000000E+03,x"
                               << board.arg(rates).arg(0).arg(0) +
                                      " · Meter: 3 readings/s, 1 out of step (0 lost)";
    }
    void statusBarTellsTheLinksHealthSinceStart() {
        QFETCH(int, badRecords);
        QFETCH(int, total);
        QFETCH(int, quietMs);
        QFETCH(QByteArray, meter);
        FormFixture fx;
        Form1& f = fx.start();
        if (!meter.isEmpty())
            fx.chooseMeterPort(2);
        const QDateTime start = fx.clock->now();
        fx.startRun(total);
        for (int b = 0; b < 100; b += 10) {
            QByteArray sent;
            for (int i = b; i < b + 10; ++i)
                sent += record({i}, i < badRecords);
            fx.send(sent);
        }
        fx.meter->deliver(meter);
        QTRY_COMPARE(f.MSComm2->inBufferCount(), 0);
        fx.clock->set(start.addMSecs(1000));
        f.TimerLinkHealth_Timer();
        if (quietMs > 0) {
            fx.clock->set(start.addMSecs(1000 + quietMs));
            f.TimerLinkHealth_Timer();
        }
        QTEST(f.LabelLinkHealth->text(), "shown");

        // Start begins the counts afresh.
        f.CommandOff->click();
        f.CommandSendData->click();
        fx.clock->set(fx.clock->now().addMSecs(500));
        f.TimerLinkHealth_Timer();
        QVERIFY(f.LabelLinkHealth->text().startsWith(
            "Board: 0 records/s, 0 bytes/s, 0 checksum errors (0 damaged), 0 dropped blocks"));
    }

    // Nothing is written under the data file's name, and the operator is told why.
    void saveRefusals_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("reason");
        // (A full disk fails a small file and a large one differently: the settings' save
        // tests take both.)
        const auto row = [](const char* failure, const char* reason) {
            QTest::newRow(failure) << QString(failure) << QString(reason);
        };
        row("reshape", "no longer in memory");
        row("gone", "Cannot create");
        row("full", "No space left on device");
        row("read-only", "Permission denied");
        // A small filesystem fills mid-write, taking part of the bytes silently: its reason
        // comes only from writing the rest.
        row("small disk", "No space left on device");
    }
    void saveRefusals() {
        QFETCH(QString, failure);
        QFETCH(QString, reason);
        FormFixture fx(failure);
        Form1& f = fx.start();
        const int records = failure == u"small disk" ? 2000 : 20;
        fx.startRun(records);
        fx.sendBlocks(0, records);
        const QString small = fx.dir() + QStringLiteral("/small");
        if (failure == u"reshape") {
            f.CheckEnCH1->setChecked(true);
        } else if (failure == u"small disk") {
            QDir(fx.dir()).mkdir(QStringLiteral("small"));
            if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=8k", "tmpfs", small}) != 0)
                QSKIP("no tmpfs can be mounted here (not root); the full row stands in");
            QDir::setCurrent(small);
        } else if (failure == u"gone") {
            QDir(fx.dir()).mkdir(QStringLiteral("gone"));
            QDir::setCurrent(fx.dir() + QStringLiteral("/gone"));
            QDir(fx.dir()).rmdir(QStringLiteral("gone"));
        }
        fx.saving([&] { f.CommandSave->click(); });
        if (failure == u"small disk") {
            const bool nothingLeft = QDir(small).isEmpty();
            QDir::setCurrent(fx.dir());
            QProcess::execute("umount", {small});
            QVERIFY(nothingLeft);
        }
        const QStringList said = fx.said();
        QVERIFY2(said.size() == 1 && said[0].startsWith("Warning: ") && said[0].contains(reason) &&
                     (failure == u"reshape" || said[0].contains("VemraData 5-3 9-7-4")),
                 qPrintable(said.join(u'\n')));
        QVERIFY(QDir(fx.dir()).entryList({QStringLiteral("VemraData*")}).isEmpty());
    }

    // "File → Export Chart…": the graph on screen written as a picture at the chosen size, or
    // a warning that says why not.
    void exportWritesTheChartOnScreenOrSaysWhyNot_data() {
        QTest::addColumn<QString>("name");      // empty: the operator cancels; "meter": the
        QTest::addColumn<QByteArray>("starts"); // meter graph shown; the file's first bytes
        QTest::addColumn<QString>("warning");   // empty: none
        QTest::newRow("png") << "chart.PNG" << QByteArray("\x89PNG") << "";
        QTest::newRow("pdf") << "chart.pdf" << QByteArray("%PDF") << "";
        QTest::newRow("svg") << "chart.svg" << QByteArray("<?xml") << "";
        QTest::newRow("meter graph") << "meter.svg" << QByteArray("<?xml") << "";
        QTest::newRow("full disk") << "full.png" << QByteArray() << "No space left on device";
        QTest::newRow("read-only folder") << "read-only.png" << QByteArray() << "Permission denied";
        QTest::newRow("other extension") << "chart.jpg" << QByteArray() << ".png, .pdf or .svg";
        QTest::newRow("cancelled") << "" << QByteArray() << "";
    }
    void exportWritesTheChartOnScreenOrSaysWhyNot() {
        QFETCH(QString, name);
        QFETCH(QByteArray, starts);
        QFETCH(QString, warning);
        const bool meterGraph = name.startsWith("meter");
        FormFixture fx(QFileInfo(name).baseName()); // "full", "read-only": saves that fail
        Form1& f = fx.start();
        fx.startRun(100);
        fx.send(block(0, 10) + block(500, 10));
        f.CWGraphMult->setVisible(meterGraph);
        const QString path = fx.dir() + u'/' + name;
        if (!name.isEmpty())
            fx.dialogs->exportAnswer = ChartExportChoice{path, QSize(640, 480)};

        fx.saving([&] { f.ExportChart->trigger(); });
        QCOMPARE(fx.dialogs->exportSuggested.size(), 1); // named like the run's data file
        QCOMPARE(fx.dialogs->exportSuggested[0].path, fx.dir() + "/VemraData 5-3 9-7-4.png");
        const QByteArray file = name.isEmpty() ? QByteArray() : readFile(path);
        QVERIFY(file.startsWith(starts) && file.isEmpty() == starts.isEmpty());
        QVERIFY2(warning.isEmpty() ? fx.said().isEmpty()
                                   : fx.said().size() == 1 && fx.said()[0].contains(warning),
                 qPrintable(fx.said().join(u'\n')));
        QCOMPARE(f.statusBar()->currentMessage().contains(path), !starts.isEmpty());
        if (starts == "\x89PNG")
            QCOMPARE(QImage::fromData(file).size(), QSize(640, 480));
        if (starts == "<?xml") // the graph on screen, with its captions
            QVERIFY(file.contains(meterGraph ? "Multimrtr Input" : "Force (g)"));
    }
};

QTEST_MAIN(AcquisitionTest)
#include "test_acquisition.moc"
