// The station on real pseudo-terminals against vemra-rig: whole runs saved and compared
// sample by sample with what the rig sent, and the faults a real line brings.

#include "board/decoding.h"
#include "common/numbertext.h"
#include "platform/qtserialbackend.h"
#include "support/rigprocess.h"

#include "app/form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <ctime>

using namespace vemra;
using vemra::test::RigProcess;

namespace {

struct RunSettings {
    int mask = 1;
    int period = 10;
    int perBlock = 10;
    int total = 100;
    std::array<double, 3> coefficients{1, 1, 1};
    bool endless = false;
};

// The station in its own directory with the rig beside it.
class Bench {
public:
    explicit Bench(const QStringList& rigOptions) {
        previous_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        rig_ = std::make_unique<RigProcess>(dir_.path(), rigOptions);
        ready_ = rig_->waitReady();
        Platform platform;
        platform.boardPort = std::make_unique<QtSerialBackend>();
        platform.meterPort = std::make_unique<QtSerialBackend>();
        platform.systemPorts = [] { return QStringList(); };
        auto recorder = std::make_unique<RecordingDialogs>();
        dialogs = recorder.get();
        platform.dialogs = std::move(recorder);
        auto fixed = std::make_unique<FixedClock>(QDateTime(QDate(2026, 1, 1), QTime(0, 0, 0)));
        clock = fixed.get();
        platform.clock = std::move(fixed);
        form = std::make_unique<Form1>(std::move(platform));
        dialogs->shown.clear(); // no Vemra.ini here: the design values stand
    }
    ~Bench() {
        form.reset();
        rig_.reset();
        QDir::setCurrent(previous_);
    }

    bool ready() const { return ready_; }
    RigProcess& rig() { return *rig_; }
    QString dir() const { return dir_.path(); }

    void configure(const RunSettings& s) {
        Form1& f = *form;
        f.CheckEnCH0->setChecked(s.mask & 1);
        f.CheckEnCH1->setChecked(s.mask & 2);
        f.CheckEnCH2->setChecked(s.mask & 4);
        f.ChannelMask = static_cast<std::uint8_t>(s.mask);
        f.NumChannels = static_cast<std::uint8_t>(std::popcount(static_cast<unsigned>(s.mask)));
        f.CoeffCH0 = s.coefficients[0];
        f.CoeffCH1 = s.coefficients[1];
        f.CoeffCH2 = s.coefficients[2];
        f.CWNumEditFreq->setValue(s.period);
        f.CWNumEditNumPoint->setValue(s.perBlock);
        f.NumAvgPoints = s.perBlock;
        f.CWNumEditTotPoint->setValue(s.total);
        f.TotalPoints = s.total;
        f.CheckInf->setChecked(s.endless);
        if (f.MSComm1->portOpen())
            f.SetupComm1();
        else
            f.ComboPort->setCurrentIndex(0);
    }

    // Runs until the station stops by itself.
    bool runToTheEnd(const RunSettings& s) {
        form->CommandSendData->click();
        const int limitMs = 5000 + 3 * s.total * s.period / 10;
        QElapsedTimer waited;
        waited.start();
        while (!form->CommandSave->isEnabled() && waited.elapsed() < limitMs)
            QTest::qWait(10);
        return form->CommandSave->isEnabled();
    }

    // Saves and returns the data lines of the file, split into fields.
    QList<QList<QByteArray>> save(int second) {
        clock->set(QDateTime(QDate(2026, 1, 1), QTime(0, 0, second)));
        dialogs->shown.clear();
        form->CommandSave->click();
        QList<QList<QByteArray>> lines;
        QFile file(dir() + QStringLiteral("/VemraData 1-1 0-0-%1.txt").arg(second));
        if (!file.open(QIODevice::ReadOnly))
            return lines;
        const QList<QByteArray> raw = file.readAll().split('\n');
        for (int i = 1; i < raw.size(); ++i) {
            if (raw[i].isEmpty())
                continue;
            lines.append(raw[i].chopped(1).split('\t')); // CR dropped
        }
        return lines;
    }

    std::unique_ptr<Form1> form;
    RecordingDialogs* dialogs = nullptr;
    FixedClock* clock = nullptr;

private:
    QTemporaryDir dir_;
    QString previous_;
    std::unique_ptr<RigProcess> rig_;
    bool ready_ = false;
};

// Every data line equals the rig's raw sample × the channel's coefficient, in the
// station's number text.
bool matchesTruth(const QList<QList<QByteArray>>& lines, const std::vector<std::vector<int>>& truth,
                  const RunSettings& s, QString* why) {
    int rank = 0;
    std::array<int, 3> rankOf{-1, -1, -1};
    for (int ch = 0; ch < 3; ++ch)
        if (s.mask & (1 << ch))
            rankOf[ch] = rank++;
    if (lines.size() > static_cast<int>(truth.size())) {
        *why = QStringLiteral("%1 lines but the rig sent %2 records")
                   .arg(lines.size())
                   .arg(truth.size());
        return false;
    }
    for (int i = 0; i < lines.size(); ++i) {
        int column = 1;
        for (int ch = 0; ch < 3; ++ch) {
            if (rankOf[ch] < 0)
                continue;
            const QString expected = generalText(truth[i][rankOf[ch]] * s.coefficients[ch]);
            const QString actual = QString::fromLatin1(lines[i].value(column));
            if (actual != expected) {
                *why = QStringLiteral("line %1 CH%2: %3, rig sent %4")
                           .arg(i)
                           .arg(ch)
                           .arg(actual, expected);
                return false;
            }
            ++column;
        }
    }
    return true;
}

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

} // namespace

class RigRunsTest : public QObject {
    Q_OBJECT
private slots:
    void randomFiniteRunsMatchTheRig();
    void badChecksumsRaiseErrorComm();
    void recordsAfterTheStopAreKept();
    void endlessRunWraps();
    void vanishingPortKeepsTheRun();
    void sineWaveformMovesTheForce();
};

void RigRunsTest::randomFiniteRunsMatchTheRig() {
    Bench bench({QStringLiteral("--seed"), QStringLiteral("7")});
    QVERIFY(bench.ready());
    QRandomGenerator random(20261206);
    const double coefficients[] = {1, 0.5, 2, 0.0123, 1e-6, 3.3, 1000};
    for (int run = 1; run <= 20; ++run) {
        RunSettings s;
        s.mask = random.bounded(1, 8);
        s.period = random.bounded(10, 51);
        s.perBlock = random.bounded(1, 40);
        s.total = random.bounded(50, 600);
        for (double& c : s.coefficients)
            c = coefficients[random.bounded(7)];
        bench.configure(s);
        QVERIFY(bench.runToTheEnd(s));
        // Whole blocks up to the total, and the block that ended the run; blocks the board
        // sent before it obeyed the stop may join them.
        const int kept = bench.form->SavedSampleCount;
        const int expected =
            std::max((s.total + s.perBlock - 1) / s.perBlock * s.perBlock, s.perBlock);
        QVERIFY2(
            kept >= expected && (kept - expected) % s.perBlock == 0,
            qPrintable(QStringLiteral("run %1 kept %2 of %3").arg(run).arg(kept).arg(expected)));
        const auto lines = bench.save(run);
        QCOMPARE(lines.size(), kept);
        QString why;
        QVERIFY2(matchesTruth(lines, bench.rig().truth(run), s, &why),
                 qPrintable(QStringLiteral("run %1: %2").arg(run).arg(why)));
        QCOMPARE(bench.form->LabelBuff->text(), QString());
        QTest::qWait(50); // records still on the line go before the next Start empties it
    }
}

void RigRunsTest::badChecksumsRaiseErrorComm() {
    Bench bench({QStringLiteral("--bad-checksum-every"), QStringLiteral("37")});
    QVERIFY(bench.ready());
    RunSettings s;
    s.mask = 5;
    s.total = 200;
    bench.configure(s);
    QVERIFY(bench.runToTheEnd(s));
    QCOMPARE(bench.form->LabelBuff->text(), QStringLiteral("Error Comm"));
    // A wrong checksum marks the run but the samples are kept as they came.
    const auto lines = bench.save(1);
    QCOMPARE(lines.size(), 200);
    QString why;
    QVERIFY2(matchesTruth(lines, bench.rig().truth(1), s, &why), qPrintable(why));
}

void RigRunsTest::recordsAfterTheStopAreKept() {
    Bench bench({QStringLiteral("--after-stop"), QStringLiteral("25")});
    QVERIFY(bench.ready());
    RunSettings s;
    s.total = 100;
    bench.configure(s);
    QVERIFY(bench.runToTheEnd(s));
    // At least two whole late blocks arrive; each stops the run again and joins the
    // snapshot. What is left is less than a block.
    QTRY_VERIFY(bench.form->SampleCount >= 120);
    QTest::qWait(100);
    Form1& f = *bench.form;
    QCOMPARE(f.SavedSampleCount, f.SampleCount);
    QVERIFY(f.MSComm1->inBufferCount() < 10 * 4);
    const auto lines = bench.save(1);
    QCOMPARE(lines.size(), f.SampleCount);
    QString why;
    QVERIFY2(matchesTruth(lines, bench.rig().truth(1), s, &why), qPrintable(why));
}

void RigRunsTest::endlessRunWraps() {
    Bench bench({QStringLiteral("--records-limit"), QStringLiteral("130")});
    QVERIFY(bench.ready());
    RunSettings s;
    s.total = 50;
    s.endless = true;
    bench.configure(s);
    Form1& f = *bench.form;
    f.CommandSendData->click();
    QTRY_VERIFY_WITH_TIMEOUT(bench.rig().truth(1).size() == 130, 5000);
    QTest::qWait(100);
    QVERIFY(f.CommandOff->isEnabled()); // an endless run only ends with "Stop"
    // Blocks land at columns 0, 10, 20, 30, then start again at 0 every fourth block.
    const auto truth = bench.rig().truth(1);
    std::vector<int> expected(50, 0);
    int count = 0;
    for (int block = 0; block < 13; ++block) {
        if (count >= 40)
            count = 0;
        for (int i = 0; i < 10; ++i)
            expected[count + i] = truth[block * 10 + i][0];
        count += 10;
    }
    QCOMPARE(f.SampleCount, count);
    for (int column = 0; column < 50; ++column)
        QCOMPARE(f.SampleData.at(0, column), double(expected[column]));
    f.CommandOff->click();
}

void RigRunsTest::vanishingPortKeepsTheRun() {
    Bench bench({QStringLiteral("--vanish-at"), QStringLiteral("300")});
    QVERIFY(bench.ready());
    RunSettings s;
    s.total = 1000;
    bench.configure(s);
    Form1& f = *bench.form;
    f.CommandSendData->click();
    QTRY_VERIFY_WITH_TIMEOUT(!f.MSComm1->portOpen(), 10000);
    QTRY_COMPARE(bench.dialogs->shown.size(), 1);
    QVERIFY(bench.dialogs->shown.first().text.contains(QStringLiteral("Comm1")));

    // A vanished pseudo-terminal must not keep the station busy.
    const double before = processCpuSeconds();
    QTest::qWait(1000);
    QVERIFY2(processCpuSeconds() - before < 0.3, "the station keeps spinning on a dead port");

    QCOMPARE(f.SampleCount, 300);
    f.CommandOff->click();
    QCOMPARE(f.SavedSampleCount, 300);
    const auto lines = bench.save(1);
    QCOMPARE(lines.size(), 300);
    QString why;
    QVERIFY2(matchesTruth(lines, bench.rig().truth(1), s, &why), qPrintable(why));
}

void RigRunsTest::sineWaveformMovesTheForce() {
    Bench bench({});
    QVERIFY(bench.ready());
    RunSettings s;
    s.total = 3000;
    bench.configure(s);
    Form1& f = *bench.form;
    // 1000 Hz sampling × 8 / (10 × 256): about 3 Hz, full amplitude.
    f.CWNumEditPWM->setValue(255);
    f.CWNumEditMulPeriod->setValue(10);
    f.CWNumEditMulFreq->setValue(3);
    QCOMPARE(f.LabelFreqAct->text(), QStringLiteral("3,125"));
    f.CommandSendData->click();
    QTRY_VERIFY_WITH_TIMEOUT(f.SampleCount >= 1000, 5000);
    f.CWButtonSin->click();
    QVERIFY(bench.runToTheEnd(s));

    const auto span = [&f](int from, int to) {
        double low = 1e9, high = -1e9;
        for (int i = from; i < to; ++i) {
            low = std::min(low, f.SampleData.at(0, i));
            high = std::max(high, f.SampleData.at(0, i));
        }
        return high - low;
    };
    QVERIFY2(span(0, 900) < 20, "the force moves before the actuator starts");
    QVERIFY2(span(f.SampleCount - 1000, f.SampleCount) > 600, "the sine does not reach the force");
    f.CWButtonSin->click();
}

QTEST_MAIN(RigRunsTest)
#include "test_rigruns.moc"
