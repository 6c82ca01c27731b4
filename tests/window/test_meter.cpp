// The multimeter as the operator drives it: its port, the lines on the wire, the timed
// INIT, the reading stream, manual mode, the merge and the meter column of a saved run.

#include "platform/widgets/checkvalue.h"
#include "support/formfixture.h"

#include <qcustomplot.h>

using namespace vemra::test;

namespace {

// Reading units as the meter sends them: "+1.00000000E+03," for 1000.
QByteArray units(std::initializer_list<double> values) {
    QByteArray out;
    for (double v : values)
        out += QString::asprintf("%+.8E,", v).toLatin1();
    return out;
}

} // namespace

class MeterTest : public QObject {
    Q_OBJECT
private slots:
    void meterPortReadsUnitsAndReportsItsFailures() {
        FormFixture fx;
        Form1& f = fx.start();
        fx.meter->setOpenFailure(QStringLiteral("Device or resource busy"));
        fx.chooseMeterPort(2);
        QCOMPARE(fx.said(),
                 QStringList("Warning: Cannot open Comm2 (/dev/ttyS1): Device or resource busy"));
        QVERIFY(f.ComboPort2->isEnabled() && f.ComboPort2->currentIndex() == -1 &&
                !f.MultimSetup->isEnabled());

        // "Default Comm" with the external channel on, as the configuration file leaves it; the
        // store of readings left from before starts empty.
        fx.meter->setOpenFailure({});
        f.CommPort2 = 2;
        f.AgilChann->setChecked(true);
        f.MultData.redim(f.TotalPoints + 1);
        f.MultData.set(0, u"+1,00000000E+00");
        f.CommandCommStart->click();
        QVERIFY(f.MultData.size() == f.TotalPoints + 1 && !f.MultData.filled(0));
        const LineSettings line = fx.meter->line();
        QCOMPARE((QList<int>{line.baud, line.parity, line.dataBits, line.stopBits,
                             f.MSComm2->inBufferSize()}),
                 (QList<int>{9600, 'N', 8, 2, 10000}));
        QCOMPARE(fx.meter->log(), (QStringList{"open /dev/ttyS1", "clear"}));
        QVERIFY(!f.ComboPort2->isEnabled() && f.MultimSetup->isEnabled());
        QVERIFY(f.TimerSendFrame->isActive() && f.CWButtonChangeScrean->isEnabled());

        // Text in units of 16 characters: a unit the line brings as 7 + 9 is read once, whole.
        QCOMPARE(f.MSComm2->inputLen(), 16);
        int events = 0;
        QObject::connect(f.MSComm2, &SerialPort::onComm, [&events] { ++events; });
        fx.meter->deliver("+1.2345");
        QTest::qWait(20);
        fx.sendMeter("6789E+03,");
        QVERIFY(events == 1 && f.MultData.text(0) == QLatin1StringView("+1,23456789E+03"));

        // An unplugged adapter: reported, the list usable again, the meter panel closed.
        f.MultimSetup->trigger();
        fx.meter->breakDevice(QStringLiteral("No such device"));
        QCOMPARE(
            flags({f.MSComm2->portOpen(), f.ComboPort2->isEnabled(), f.MultimSetup->isEnabled(),
                   f.MultimSetup->isChecked(), f.FrameAgilent->isHidden()}),
            QStringLiteral("01001"));
        QVERIFY(fx.dialogs->shown.last().text.contains(QStringLiteral("No such device")));
    }

    // The parameter lines, the buttons' lines and the timed INIT, on the wire: lines end in
    // CR LF, "Clear" is the single byte 3, a closed port drops them all.
    void meterLinesGoOutEndedByCrLf() {
        FormFixture fx;
        Form1& f = fx.start();
        // As the manual panel edits them ("Load ->" fills the rows, READ? the last): line 5 is
        // never one of the parameters.
        f.Command1->click();
        f.TextCommand[1]->clear();
        f.TextCommand[4]->setText(QStringLiteral("*CLS"));
        f.CommandSavParam->click();
        QCOMPARE(f.LabelParam[4]->text(), QStringLiteral("*CLS"));
        QPushButton* buttons[] = {f.CommandRemote,        f.CommandErr,
                                  f.CommandClear,         f.CommandMultimeter[0],
                                  f.CommandMultimeter[1], f.CommandMultimeter[5]};
        for (bool open : {false, true}) {
            if (open)
                fx.chooseMeterPort(1);
            for (QPushButton* b : buttons)
                b->click();
        }
        QCOMPARE(fx.meter->written(), QByteArray("SYST:REM\r\nSYST:ERR?\r\n\x03"
                                                 "CONF:FRES DEF,DEF\r\n\r\nREAD?\r\n"));
        fx.meter->clearWritten();

        f.TextLabelMult->setText(QStringLiteral("Strain (Ohm)"));
        f.CommandResetParam->click();
        QVERIFY(f.TimerSendFrame->isActive() && f.TimerSendFrame->interval() == 100);
        QCOMPARE(f.CWGraphMult->axisCaption(2), QStringLiteral("Strain (Ohm)"));
        QVERIFY(fx.meter->written().isEmpty()); // the first line waits for the first tick
        // The timer's ticks, driven here; a press in the middle neither restarts the sequence
        // nor repeats a line.
        int ticks = 0;
        for (; f.TimerSendFrame->isActive() && ticks < 10; ++ticks) {
            if (ticks == 3)
                f.CommandResetParam->click();
            f.TimerSendFrame_Timer();
        }
        QVERIFY(ticks == 6 && f.MultCmdIndex == 0);
        QCOMPARE(fx.meter->written(), QByteArray("SYST:REM\r\nCONF:FRES DEF,DEF\r\n\r\n"
                                                 "TRIG:COUNT INF\r\nFRES:NPLC 1\r\nREAD?\r\n"));
    }

    void readingsGoBesideTheirSamples() {
        FormFixture fx;
        Form1& f = fx.start();
        fx.meterOn();
        fx.startRun(25, 10, true);
        fx.sendMeter("+1.23456789E+03,");
        QCOMPARE(f.LabelMultCH->text() + ' ' + f.MultData.text(0),
                 "+1,23456789E+03 +1,23456789E+03");
        QCOMPARE(f.CWGraphMult->pointY(0, 0), 1234.56789);

        // A unit that lost its ',' costs its own reading; the next keeps its number.
        fx.sendMeter("+2.00000000E+03" + units({2}) + "X");
        QCOMPARE(f.LabelBuff->text() + ' ' + f.LabelMultCH->text(), "Err Mult! +2,00000000E+00");
        QVERIFY(f.MultCount == 3 && !f.MultData.filled(1) && f.MultData.filled(2));

        // With "Infinite Points" reading i goes round with sample i: 25 points in blocks of 10
        // fill 20 columns, so reading 20 goes to the first.
        QByteArray more;
        for (int i = 3; i <= 20; ++i)
            more += units({double(i)});
        fx.sendMeter(more);
        QCOMPARE(QString(f.MultData.text(0)) + ' ' + f.MultData.text(19) + ' ' +
                     QString::number(f.MultCount),
                 QStringLiteral("+2,00000000E+01 +1,90000000E+01 1"));

        // Off, the channel keeps one slot: the reading is shown, not charted, and no loss, since
        // nobody asked for it. On, a reading with no slot left is counted and told.
        f.CWButtonChangeScrean->setValue(true);
        f.AgilChann->trigger();
        QVERIFY(!f.CWButtonChangeScrean->value() && !f.CWButtonChangeScrean->isEnabled());
        QCOMPARE(f.MultData.size(), 1);
        fx.sendMeter(units({-5e-7}));
        QCOMPARE(f.LabelMultCH->text(), QStringLiteral("-5,00000000E-07"));
        QVERIFY(f.CWGraphMult->pointCount(0) == 20 && f.DroppedReadings == 0);
        f.AgilChann->trigger();
        f.TimerSendFrame->stop();
        f.CommandOff->click();
        fx.startRun(5, 10, false);
        fx.sendMeter(units({0, 1, 2, 3, 4, 5, 6}));
        QVERIFY(f.DroppedReadings == 1 &&
                f.statusBar()->currentMessage().contains("(no slot left for them): 1"));
    }

    void manualModeShowsRepliesAndKeyCodes() {
        FormFixture fx;
        Form1& f = fx.start();
        fx.chooseMeterPort(1);
        f.MultimSetup->trigger();
        f.CheckManOperation->setChecked(true);
        QVERIFY(!f.FrameManualOperation->isHidden() && f.TimerMulUpd->isActive());

        // The reading units' handler leaves the port to the 100 ms timer.
        fx.meter->deliver("+0,\"No error\"\r\n+1.00000000E+03,");
        QCoreApplication::processEvents();
        QCOMPARE(f.MSComm2->inBufferCount(), 31);
        f.TimerMulUpd_Timer();
        f.TimerMulUpd_Timer();
        QCOMPARE(f.TextMultOut->toPlainText(),
                 QStringLiteral("+0\n\"No error\"\n+1.00000000E+03\n"));
        QTest::mouseDClick(f.TextMultOut->viewport(), Qt::LeftButton);
        QCOMPARE(f.TextMultOut->toPlainText(), QString());

        setCheckValue(f.CheckManOperation, 2); // grey: nothing changes
        QVERIFY(!f.FrameManualOperation->isHidden() && f.TimerMulUpd->isActive());
        setCheckValue(f.CheckManOperation, 0);
        QVERIFY(f.FrameManualOperation->isHidden() && !f.TimerMulUpd->isActive());

        QTest::keyClicks(f.TextAscii, "Ab");
        QCOMPARE(f.TextAscii->text(), QStringLiteral("98"));
    }

    // The meter's pace in the status bar, never in a box: at Start whether the period leaves the
    // meter time for a reading (its parameter lines tell), after Stop whether its readings
    // matched the samples; what Start told stays when Stop has nothing to add. What to do comes
    // first, since the bar shows only what fits beside the link health.
    void meterPaceIsTold_data() {
        QTest::addColumn<QString>("nplcLine");
        QTest::addColumn<int>("readings"); // for 10 samples
        QTest::addColumn<bool>("atStart"); // told at Start, else after Stop
        QTest::addColumn<QString>("told");
        QTest::newRow("keeps up") << "FRES:NPLC 0.2" << 10 << true << "";
        QTest::newRow("too slow for the period")
            << "FRES:NPLC 1" << 10 << true
            << "At a period of 40 ms the meter skips triggers and its readings leave their "
               "samples: a period of 59,9 ms or more keeps up (it takes 59,8 ms a reading: NPLC 1, "
               "autozero on, 50 Hz mains)";
        QTest::newRow("a line the rule does not know")
            << "CALC:FUNC AVER" << 10 << true
            << "The meter's pace cannot be told from its line \"CALC:FUNC AVER\": check that "
               "the period leaves it time for a reading";
        QTest::newRow("skipped triggers")
            << "FRES:NPLC 0.2" << 8 << false
            << "The meter skipped 2 of 10 triggers: from the first skip on, its readings are not "
               "beside their samples";
        QTest::newRow("not triggered by the board")
            << "FRES:NPLC 0.2" << 14 << false
            << "The meter took 14 readings for 10 samples: the board does not trigger it (its "
               "Ext Trig input, TRIG:SOUR EXT)";
    }
    void meterPaceIsTold() {
        QFETCH(QString, nplcLine);
        QFETCH(int, readings);
        QFETCH(bool, atStart);
        QFETCH(QString, told);
        FormFixture fx;
        Form1& f = fx.start();
        f.LabelParam[3]->setText(nplcLine);
        fx.meterOn();
        fx.startRun(1000);
        QCOMPARE(f.statusBar()->currentMessage(), atStart ? told : QString());
        fx.sendBlocks(0, 10);
        QByteArray sent;
        for (int i = 0; i < readings; ++i)
            sent += units({1000.0 + i});
        fx.sendMeter(sent);
        f.CommandOff->click();
        QTRY_VERIFY(!f.meterCheckPending());
        QCOMPARE(f.statusBar()->currentMessage(), told);
        QCOMPARE(f.statusBar()->toolTip(), told); // whole, however much of it fits
    }

    // A range set in the meter graph's edits holds after the repaints of any number of runs
    // (a double-click gives the autoscale back); an overload reading is drawn at the edge,
    // counted, and neither scaled to nor taken into the range Stop copies.
    void meterGraphKeepsTheRangeSetAndIgnoresOverloads() {
        FormFixture fx;
        Form1& f = fx.start();
        fx.meterOn();
        Graph& g = *f.CWGraphMult;
        for (int run = 0; run < 2; ++run) {
            fx.startRun(1000);
            fx.sendMeter(units({1000, 9.9e37, 1100}));
            g.refreshNow();
            QCOMPARE((QList<double>{g.axisMinimum(2), g.axisMaximum(2)}),
                     (QList<double>{1000, 1100}));
            f.CommandOff->click();
            QCOMPARE((QList<double>{f.CWNumEditAgilMin->value(), f.CWNumEditAgilMax->value()}),
                     (QList<double>{1000, 1100}));
            // Either edit alone holds its end.
            (run == 0 ? f.CWNumEditAgilMax : f.CWNumEditAgilMin)->setValue(run == 0 ? 2000 : 500);
            fx.sendMeter(units({1050}));
            g.refreshNow();
            QCOMPARE((QList<double>{g.axisMinimum(2), g.axisMaximum(2)}),
                     (QList<double>{run == 0 ? 1000.0 : 500.0, run == 0 ? 2000.0 : 1100.0}));
        }
        QCOMPARE(f.LinkCount.overloads, 1);
        f.CWGraphMult_DblClick();
        g.refreshNow();
        QCOMPARE(g.axisMaximum(2), 1100.0);
    }

    void mergeDrawsTheReadingsOnAnAxisOfTheirOwn_data() {
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("axis");
        QTest::newRow("no channel") << 0 << 2;
        QTest::newRow("CH1") << 2 << 3;
        QTest::newRow("CH0 CH1") << 3 << 4;
        QTest::newRow("all three") << 7 << 5;
    }
    void mergeDrawsTheReadingsOnAnAxisOfTheirOwn() {
        QFETCH(int, mask);
        QFETCH(int, axis);
        FormFixture fx;
        Form1& f = fx.start();
        fx.meterOn();
        fx.enableChannels(mask);
        fx.startRun(20);
        fx.send(record(QList<int>(f.NumChannels, 100)).repeated(10));
        fx.sendMeter(units({1000, 1100}));
        f.MultData.set(3, u"+1,05000000E+03"); // slot 2 stays empty
        f.CommandOff->click();
        f.CWButtonGraphMerg->click();

        // A white trace on the axis after the channels' (the first keeps its own), its range
        // the one Stop took from the meter graph, never shown, and its caption the label; the
        // readings cut to the run's samples.
        const Graph& g = *f.CWGraph1;
        const int trace = f.NumChannels;
        QCOMPARE((QList<int>{g.traceCount(), g.traceAxis(0), g.traceAxis(trace), g.axisCount(),
                             g.axisOpposite(axis), f.MultData.size(), g.pointCount(trace)}),
                 (QList<int>{trace + 1, mask ? 2 : axis, axis, axis, mask != 0, 10, 10}));
        QVERIFY(g.traceColor(trace) == Qt::white && g.axisTickColor(axis) == Qt::white);
        QCOMPARE(g.axisCaption(axis), QStringLiteral("Resistence (Ohm)"));
        QCOMPARE((QList<double>{g.axisMinimum(axis), g.axisMaximum(axis), g.pointY(trace, 1),
                                g.pointY(trace, 3)}),
                 (QList<double>{1000, 1100, 1100, 1050}));
        QVERIFY(std::isnan(g.pointY(trace, 2)) && !f.CWButtonGraphMerg->isEnabled());

        f.CWNumEditAgilMax->setValue(2000);
        QVERIFY(g.axisMaximum(axis) == 2000 && f.CWGraphMult->axisMaximum(2) == 2000);
        // A double-click fits the merged axis to the readings; in the next run the toggle is
        // still on but the axis gone, and the channels' axes keep their spans.
        QTest::mouseDClick(g.plot(), Qt::LeftButton);
        QVERIFY(g.axisMinimum(axis) == 1000 && g.axisMaximum(axis) == 1100);
        fx.startRun(20);
        fx.send(record(QList<int>(f.NumChannels, 100)).repeated(10));
        QTest::mouseDClick(g.plot(), Qt::LeftButton);
        for (int k = 2; k < f.NumChannels + 2; ++k)
            QCOMPARE(g.axisMaximum(k), 1023.0);
        // Stop offers the merge again; a change of CH0 takes it away.
        f.CommandOff->click();
        f.CheckEnCH0->click();
        QVERIFY(!f.CWButtonGraphMerg->value() && !f.CWButtonGraphMerg->isEnabled());
    }

    void stoppedRunKeepsItsReadings_data() {
        QTest::addColumn<QString>("after");
        QTest::newRow("external channel off") << "off";
        QTest::newRow("off and on again") << "off on";
        QTest::newRow("meter port chosen again") << "port";
        QTest::newRow("merged") << "merge";
    }
    void stoppedRunKeepsItsReadings() {
        QFETCH(QString, after);
        FormFixture fx;
        Form1& f = fx.start();
        fx.meterOn();
        fx.startRun(20);
        fx.send(block(0, 10));
        fx.sendMeter(units({0, 1, 2, 3, 4, 5, 6, 7, 8}));
        f.CommandOff->click();
        // After Stop the run takes the reading of its last sample; later ones are shown and
        // counted, never stored.
        fx.sendMeter(units({9, 10, 11}));
        QVERIFY(f.LateReadings == 2 && f.LabelMultCH->text() == "+1,10000000E+01");
        QVERIFY(f.statusBar()->currentMessage().contains("not stored: 2"));
        for (const QString& step : after.split(u' ')) {
            if (step == u"port") {
                fx.meter->breakDevice(QStringLiteral("unplugged"));
                fx.chooseMeterPort(1);
            } else if (step == u"merge") {
                f.CWButtonGraphMerg->click();
            } else {
                f.AgilChann->trigger();
            }
        }
        f.CommandSave->click();
        QCOMPARE(fx.dialogs->shown.last().text, QStringLiteral("Data Saved"));
        const QList<QByteArray> lines = fx.dataLines();
        QCOMPARE(lines[0], QByteArray("Time (mS)\tForce (g)\tResistence (Ohm)\r"));
        for (int i = 0; i < 10; ++i) {
            const QString reading = QString::asprintf("%+.8E", double(i)).replace(u'.', u',');
            QCOMPARE(lines[i + 1].split('\t').last(), reading.toLatin1() + '\r');
        }

        fx.meter->deliver("+1.2345"); // a unit cut short before the next Start
        f.CommandSendData->click();   // which starts empty and in step
        QVERIFY(!f.MultData.filled(0) && f.MSComm2->inBufferCount() == 0);
    }

    void exitEndsAtOnce() {
        FormFixture fx;
        bool ended = false;
        fx.platform().endProgram = [&ended] { ended = true; };
        Form1& f = fx.start();
        fx.startRun(1000);
        fx.chooseMeterPort(1);
        fx.board->clearLog();
        f.ExitProgr->trigger();
        f.close(); // the window goes with the program: no stop action, now or then
        QVERIFY(ended && fx.board->log().isEmpty());
    }
};

QTEST_MAIN(MeterTest)
#include "test_meter.moc"
