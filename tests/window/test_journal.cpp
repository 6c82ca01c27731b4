// The run's journal as the operator meets it: recovered runs, journals that cannot be written,
// the offer at start-up and the raw captures kept when asked.

#include "journal/format.h"
#include "support/formfixture.h"

#include <fcntl.h>

using namespace vemra::test;

namespace {

QByteArray units(int first, int count) {
    QByteArray out;
    for (int i = first; i < first + count; ++i)
        out += QString::asprintf("%+.8E,", 1000.0 + i).toLatin1();
    return out;
}

QStringList journals(const QString& dir) {
    return QDir(dir + "/VemraJournal").entryList({"*.journal"}, QDir::Files, QDir::Name);
}

// A journal as the station writes it: a run of `records` CH0 records in blocks of ten, with
// the meter on, stopped, possibly cut short at the end.
void writeJournal(const QString& dir, int records, qsizetype cut = 0) {
    using namespace vemra::journal;
    std::string file = fileStart();
    appendChunk(file, ChunkType::Header, 0,
                "start\t2026-03-01T08:30:15.000\nmask\t1\nperBlock\t10\ntotalPoints\t1000\n"
                "endless\t0\nperiod\t400\ncoeff0\t0.5\nlabel0\tForce (g)\nexternal\t1\n"
                "meterLabel\tResistence (Ohm)\n");
    for (int at = 0; at < records; at += 10) {
        const QByteArray bytes = block(at, 10);
        appendChunk(file, ChunkType::Board, 1000 * at, bytes.toStdString());
        appendChunk(file, ChunkType::Meter, 1000 * at + 1, units(at, 10).toStdString());
    }
    appendChunk(file, ChunkType::Stop, 1000 * records,
                encodeFields({{"mask", "1"}, {"meter", "1"}, {"step", "40"}}));
    QDir(dir).mkdir("VemraJournal");
    QFile out(dir + "/VemraJournal/VemraRun 1-3 8-30-15.journal");
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(file.data(), qsizetype(file.size()) - cut);
}

} // namespace

class JournalTest : public QObject {
    Q_OBJECT
private slots:
    // The journal of a run, recovered, gives the file "Save" gives for it, byte for byte: a
    // finite run with a bad checksum and blocks after its end, an endless run that went round
    // its store (its journal rolled over to new segments), a run with the meter's readings.
    void recoveredRunIsTheSavedRun_data() {
        QTest::addColumn<QString>("run");
        QTest::newRow("finite, bad checksum, late blocks") << "finite";
        QTest::newRow("endless, gone round") << "endless";
        QTest::newRow("with the meter") << "meter";
    }
    void recoveredRunIsTheSavedRun() {
        QFETCH(QString, run);
        FormFixture fx;
        Form1& f = fx.start();
        if (run == u"meter")
            fx.meterOn(2);
        fx.startRun(run == u"endless" ? 30 : 20, 10, run == u"endless");
        const int records = run == u"endless" ? 100 : run == u"finite" ? 40 : 20;
        for (int at = 0; at < records; at += 10) {
            QByteArray sent = block(at, 10);
            if (at == 10)
                sent.replace(5 * 4 + 3, 1, "\x01"); // record 15's checksum
            fx.send(sent);
            if (run == u"meter")
                fx.sendMeter(units(at, 10));
        }
        f.CommandOff->click();
        QVERIFY(f.journal().flush(5000));
        if (run == u"endless")
            QCOMPARE(journals(fx.dir()).size(), 2); // the last two segments of five
        QDir(fx.dir()).mkdir("copy");
        for (const QString& name : journals(fx.dir()))
            QFile::copy(fx.dir() + "/VemraJournal/" + name, fx.dir() + "/copy/" + name);

        f.CommandSave->click();
        const QByteArray saved = readFile(fx.dir() + "/VemraData 5-3 9-7-4.txt");
        QTRY_VERIFY(journals(fx.dir()).isEmpty()); // a saved run's journal goes

        const QList<UnsavedRun> unsaved = findUnsavedRuns(fx.dir() + "/copy");
        QCOMPARE(unsaved.size(), 1);
        QString name, error;
        QVERIFY2(recoverRun(unsaved[0], fx.dir() + "/copy", {}, &name, &error), qPrintable(error));
        QCOMPARE(name, QStringLiteral("VemraData 5-3 9-7-4 (recovered).txt"));
        QCOMPARE(readFile(fx.dir() + "/copy/" + name), saved);
        QVERIFY(saved.count('\n') > 10 && journals(fx.dir() + "/copy").isEmpty());
    }

    // A journal that cannot be written never stops the run: it goes on in memory, the status
    // bar says why the journal stopped, and "Save" writes the run.
    void journalTroubleLeavesTheRunWhole_data() {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only folder") << QString("read-only") << "Permission denied";
        QTest::newRow("full disk") << QString("full") << "No space left on device";
        QTest::newRow("folder removed mid-run")
            << QString("removed") << "No such file or directory";
    }
    void journalTroubleLeavesTheRunWhole() {
        QFETCH(QString, trouble);
        QFETCH(QString, reason);
        FormFixture fx;
        if (trouble == u"full")
            fx.platform().journalOpener = [](const std::string&) {
                return ::open("/dev/full", O_WRONLY | O_CLOEXEC);
            };
        QDir(fx.dir()).mkdir("VemraJournal");
        const bool root = ::geteuid() == 0;
        if (trouble == u"read-only") {
            QFile::setPermissions(fx.dir() + "/VemraJournal",
                                  QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            // Root writes through a folder's mode: the journal's thread, made now, takes an
            // unprivileged file-system identity with it.
            if (root)
                ::setfsuid(65534);
        }
        Form1& f = fx.start();
        if (root)
            ::setfsuid(0);
        fx.startRun(1000);
        fx.sendBlocks(0, 50);
        if (trouble == u"removed") {
            QTRY_VERIFY(!journals(fx.dir()).isEmpty());
            QDir(fx.dir() + "/VemraJournal").removeRecursively();
        }
        fx.sendBlocks(50, 50);
        QTRY_COMPARE_WITH_TIMEOUT(f.statusBar()->currentMessage(), "Journal stopped: " + reason,
                                  3000);
        fx.sendBlocks(100, 50);
        f.CommandOff->click();
        f.CommandSave->click();
        QCOMPARE(fx.said().last(), QStringLiteral("DOWNLOAD: Data Saved"));
        QCOMPARE(fx.dataLines().size(), 152); // the titles, 150 samples, the last line end
        f.CommandSendData->click();           // the next run's journal starts afresh
        QVERIFY(!f.statusBar()->currentMessage().startsWith("Journal"));
        QFile::setPermissions(fx.dir() + "/VemraJournal", QFileDevice::ReadOwner |
                                                              QFileDevice::WriteOwner |
                                                              QFileDevice::ExeOwner);
    }

    // At start-up a run that was not saved is offered beside the window; Recover writes what
    // "Save" would have written and removes the journal, Discard asks once more, Later keeps
    // it. A torn journal is recovered up to its last good piece and says what was lost.
    void unsavedRunIsOfferedAtStartUp_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("cut");
        QTest::addColumn<QString>("said");
        QTest::addColumn<bool>("journalKept");
        const QString offer =
            "Unsaved Run: A run of 1-3 8-30-15 was not saved: 20 samples, 20 readings.";
        QTest::newRow("recover") << QStringList{"Recover"} << 0 << offer << false;
        QTest::newRow("discard") << QStringList{"Discard", "Remove"} << 0 << offer << false;
        QTest::newRow("discard, then keep") << QStringList{"Discard", "Keep"} << 0 << offer << true;
        QTest::newRow("later") << QStringList{"Later"} << 0 << offer << true;
        // Cut inside the last readings, before the stop: the run stops where its journal ends.
        QTest::newRow("torn journal")
            << QStringList{"Recover"} << 60
            << "Unsaved Run: A run of 1-3 8-30-15 was not saved: 20 samples, 10 readings. It "
               "can be recovered up to its last good piece: the last 157 bytes of its journal "
               "were damaged and are lost."
            << false;
    }
    void unsavedRunIsOfferedAtStartUp() {
        QFETCH(QStringList, answers);
        QFETCH(int, cut);
        QFETCH(QString, said);
        QFETCH(bool, journalKept);
        FormFixture fx;
        writeJournal(fx.dir(), 20, cut);
        fx.start();
        QCOMPARE(fx.dialogs->asked.size(), 1);
        QCOMPARE(fx.dialogs->asked[0].title + ": " + fx.dialogs->asked[0].text, said);
        for (const QString& answer : answers)
            QVERIFY(fx.dialogs->answer(answer));
        QTRY_COMPARE(journals(fx.dir()).size(), journalKept ? 1 : 0);
        if (answers[0] != u"Recover")
            return;
        QCOMPARE(fx.said(),
                 QStringList("DOWNLOAD: Data Saved: VemraData 1-3 8-30-15 (recovered).txt"));
        const QList<QByteArray> lines =
            readFile(fx.dir() + "/VemraData 1-3 8-30-15 (recovered).txt").split('\n');
        QCOMPARE(lines[0], QByteArray("Time (mS)\tForce (g)\tResistence (Ohm)\r"));
        QCOMPARE(lines[2], QByteArray("40\t0,5\t+1,00100000E+03\r"));
    }

    // "File → Keep Raw Captures" keeps a saved run's journal (marked saved, so never offered),
    // and is remembered beside the journals, not in Vemra.ini.
    void rawCapturesAreKeptWhenAsked() {
        {
            FormFixture fx;
            Form1& f = fx.start();
            f.KeepRawCaptures->trigger();
            QVERIFY(f.KeepRawCaptures->isChecked());
            fx.startRun(20);
            fx.sendBlocks(0, 20);
            f.CommandSave->click();
            QVERIFY(f.journal().flush(5000));
            QCOMPARE(journals(fx.dir()).size(), 1);
            QVERIFY(findUnsavedRuns(fx.dir() + "/VemraJournal").isEmpty());
            QVERIFY(!readFile(fx.dir() + "/Vemra.ini").contains("Raw"));
        }
        {
            FormFixture fx;
            QDir(fx.dir()).mkdir("VemraJournal");
            fx.writeFile("VemraJournal/keep-raw-captures", "kept\n");
            Form1& f = fx.start();
            QVERIFY(f.KeepRawCaptures->isChecked());
            f.KeepRawCaptures->trigger();
            QVERIFY(!f.KeepRawCaptures->isChecked() &&
                    !QFile::exists(fx.dir() + "/VemraJournal/keep-raw-captures"));
        }
        FormFixture fx("full"); // the choice cannot be written: said, and left as it was
        Form1& f = fx.start();
        f.KeepRawCaptures->trigger();
        QVERIFY(!f.KeepRawCaptures->isChecked());
        QVERIFY(fx.said().last().contains("No space left on device"));
    }
};

QTEST_MAIN(JournalTest)
#include "test_journal.moc"
