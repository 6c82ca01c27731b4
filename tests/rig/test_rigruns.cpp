// The station on real pseudo-terminals against vemra-rig: whole runs saved and compared
// sample by sample with what the rig sent, and the faults a real line brings.

#include "rig/rigbench.h"

#include <ctime>

using namespace vemra::test;

class RigRunsTest : public QObject {
    Q_OBJECT
private slots:
    void randomFiniteRunsMatchTheRig() {
        Bench bench({QStringLiteral("--seed"), QStringLiteral("7")});
        QVERIFY(bench.rig.ready);
        QRandomGenerator random(20261206);
        const double coefficients[] = {1, 0.5, 2, 0.0123, 1e-6, 3.3, 1000};
        for (int run = 1; run <= 20; ++run) {
            RunSettings s{random.bounded(1, 8), random.bounded(10, 51), random.bounded(1, 40),
                          random.bounded(50, 600)};
            for (double& c : s.coefficients)
                c = coefficients[random.bounded(7)];
            bench.configure(s);
            QVERIFY(bench.runToTheEnd(s));
            // Whole blocks up to the total, and the block that ended the run; blocks the board
            // sent before it obeyed the stop may join them.
            const int kept = bench.form->SavedSampleCount;
            const int expected =
                std::max((s.total + s.perBlock - 1) / s.perBlock * s.perBlock, s.perBlock);
            QVERIFY2(kept >= expected && (kept - expected) % s.perBlock == 0,
                     qPrintable(
                         QStringLiteral("run %1 kept %2 of %3").arg(run).arg(kept).arg(expected)));
            QCOMPARE(bench.save(run), bench.rig.sent(run, s, kept));
            QCOMPARE(bench.form->LabelBuff->text(), QString());
            QTest::qWait(50); // records still on the line go before the next Start empties it
        }
    }

    void vanishingPortKeepsTheRun() {
        Bench bench({QStringLiteral("--vanish-at"), QStringLiteral("300")});
        QVERIFY(bench.rig.ready);
        const RunSettings s{.total = 1000};
        bench.configure(s);
        Form1& f = *bench.form;
        f.CommandSendData->click();
        QTRY_VERIFY_WITH_TIMEOUT(!f.MSComm1->portOpen(), 10000);
        const std::clock_t before = std::clock(); // the process's processor time
        QTest::qWait(1000);
        QVERIFY2(std::clock() - before < CLOCKS_PER_SEC * 3 / 10,
                 "the station keeps spinning on a dead port");
        // Told once, however often the dead line wakes Qt.
        QCOMPARE(bench.said().size(), 1);
        QVERIFY2(bench.said()[0].contains(bench.dir() + "/Comm1) stopped working and was closed"),
                 qPrintable(bench.said()[0]));

        f.CommandOff->click(); // the samples that came before stay, and are saved
        QCOMPARE(bench.save(1), bench.rig.sent(1, s, 300));
    }

    // A byte lost from record 20 and one added to record 60 of every run, at one offset of a
    // record per rig, for one to three channels and blocks of 1 and 10 records: each costs at
    // most the record it went through, and every other sample is the one the rig sent, in its
    // own row.
    void slipsCostOnlyTheirRecords_data() {
        QTest::addColumn<int>("offset");
        for (int offset = 0; offset <= 8; ++offset)
            QTest::addRow("byte %d", offset) << offset;
    }
    void slipsCostOnlyTheirRecords() {
        QFETCH(int, offset);
        Bench bench({"--lose-byte-at", "20", "--extra-byte-at", "60", "--fault-offset",
                     QString::number(offset)});
        QVERIFY(bench.rig.ready);
        int run = 0;
        for (int channels = 1; channels <= 3; ++channels) {
            for (int perBlock : {1, 10}) {
                const RunSettings s{.mask = (1 << channels) - 1, .perBlock = perBlock};
                bench.configure(s);
                QVERIFY(bench.runToTheEnd(s));
                QList<QByteArray> saved = bench.save(++run);
                QList<QByteArray> sent = bench.rig.sent(run, s, saved.size());
                QVERIFY2(saved.size() >= s.total, qPrintable(QString::number(saved.size())));
                for (int damaged : {20, 60})
                    saved[damaged] = sent[damaged] = "damaged or not";
                QVERIFY2(
                    saved == sent,
                    qPrintable(
                        QStringLiteral("%1 channels, blocks of %2").arg(channels).arg(perBlock)));
                QVERIFY(bench.form->LinkCount.damagedRecords <= 2);
                QTest::qWait(50); // records still on the line go before the next Start empties it
            }
        }
    }

    // The meter's readings with a character lost (reading 3), its ',' lost (9), and a garbage
    // unit (15), a reply (21) and junk (27) put before one character of a unit per rig: a
    // damaged reading's slot is empty or holds what came in its place, never a reading of
    // another sample; every other reading is beside its own sample.
    void meterDamageCostsOnlyItsReading_data() {
        QTest::addColumn<int>("offset");
        for (int offset = 0; offset <= 16; ++offset)
            QTest::addRow("character %d", offset) << offset;
    }
    void meterDamageCostsOnlyItsReading() {
        QFETCH(int, offset);
        Bench bench({"--meter-lose-char-at", "3", "--meter-lose-comma-at", "9",
                     "--meter-garbage-at", "15", "--meter-reply-at", "21", "--meter-junk-at", "27",
                     "--meter-junk-length", "100", "--meter-char-offset", QString::number(offset)});
        QVERIFY(bench.rig.ready);
        Form1& f = *bench.form;
        // A short integration lets the meter, autozero on, keep up with a record every 30 ms.
        f.LabelParam[3]->setText(QStringLiteral("FRES:NPLC 0.2"));
        f.AgilChann->trigger();
        bench.chooseMeterPort(2);
        QTRY_VERIFY(!f.TimerSendFrame->isActive());
        const RunSettings s{.period = 300, .perBlock = 5, .total = 35};
        bench.configure(s);
        QVERIFY(bench.runToTheEnd(s));
        QTest::qWait(300); // the last readings are still on the line

        QList<QByteArray> sent, saved, marked;
        for (const QByteArray& line : readFile(bench.rig.truthPath()).split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields[0] != "M" || sent.size() == f.SavedSampleCount)
                continue;
            QCOMPARE(fields[2].toInt(), sent.size()); // reading i belongs to record i
            sent << QByteArray(fields[3]).replace('.', ',');
            marked << (fields.size() > 4 ? fields.mid(4).join(' ') : QByteArray());
        }
        for (const QByteArray& line : bench.save(1))
            saved << line.mid(line.lastIndexOf('\t') + 1);
        QCOMPARE(saved.size(), sent.size());
        for (int i = 0; i < sent.size(); ++i) {
            if (marked[i].isEmpty())
                QVERIFY2(saved[i] == sent[i], qPrintable(QStringLiteral("reading %1").arg(i)));
            else
                QVERIFY2(saved[i] != sent.value(i - 1) && saved[i] != sent.value(i + 1),
                         qPrintable(QStringLiteral("reading %1 (%2)").arg(i).arg(marked[i])));
        }
        QCOMPARE(f.LabelBuff->text(), QStringLiteral("Err Mult!"));
    }
};

QTEST_MAIN(RigRunsTest)
#include "test_rigruns.moc"
