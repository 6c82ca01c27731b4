#pragma once
// vemra-rig in a folder, and a station beside it on real serial ports: the board on ./Comm1,
// the meter on ./Comm2, every record and reading the rig sends in a ground-truth file that
// saved files are compared with.

#include "common/numbertext.h"
#include "platform/serial/qtserialbackend.h"
#include "support/formfixture.h"

namespace vemra::test {

// A data file's lines without their time column and line ends.
inline QList<QByteArray> dataRows(const QString& path) {
    QList<QByteArray> rows;
    for (const QByteArray& line : readFile(path).split('\n').mid(1))
        if (!line.isEmpty())
            rows.append(line.mid(line.indexOf('\t') + 1).chopped(1)); // CR dropped
    return rows;
}

struct RunSettings {
    int mask = 1;
    int period = 10;
    int perBlock = 10;
    int total = 100;
    std::array<double, 3> coefficients{1, 1, 1};
};

class Rig {
public:
    Rig(const QString& dir, const QStringList& options)
        : truth_(dir + QStringLiteral("/truth.txt")) {
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.start(qEnvironmentVariable("VEMRA_RIG"),
                       QStringList{"--dir", dir, "--truth", truth_, "--log", dir + "/rig.log"} +
                           options);
        for (int i = 0; i < 100 && !ready; ++i)
            ready = process_.waitForReadyRead(100) && process_.readAll().contains("ready");
    }
    ~Rig() {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(3000);
    }

    QString truthPath() const { return truth_; }

    // The first `count` records of run `run` (from 1) as a data file's lines give them, without
    // the time column: raw × coefficient. A truth line holds the run, the index, the lead byte
    // and the raw samples.
    QList<QByteArray> sent(int run, const RunSettings& s, qsizetype count) const {
        QList<QByteArray> lines;
        for (const QByteArray& record : readFile(truth_).split('\n')) {
            const QList<QByteArray> fields = record.split(' ');
            if (fields[0].toInt() != run || lines.size() == count)
                continue;
            QByteArray line;
            for (int ch = 0, rank = 3; ch < 3; ++ch)
                if (s.mask & (1 << ch))
                    line +=
                        generalText(fields.value(rank++).toInt() * s.coefficients[ch]).toLatin1() +
                        '\t';
            lines.append(line);
        }
        return lines;
    }

    // The meter's readings of run `run`, in the order sent, as a data file writes them.
    QList<QByteArray> readings(int run) const {
        QList<QByteArray> texts;
        for (const QByteArray& line : readFile(truth_).split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields[0] == "M" && fields.value(1).toInt() == run)
                texts << QByteArray(fields.value(3)).replace('.', ',');
        }
        return texts;
    }

    bool ready = false;

private:
    QString truth_;
    QProcess process_;
};

// The station in the test's process, in its own folder, on the rig's ports.
class Bench : public FormFixture {
public:
    explicit Bench(const QStringList& rigOptions)
        : rig(dir(), rigOptions) {
        platform().boardPort = std::make_unique<QtSerialBackend>();
        platform().meterPort = std::make_unique<QtSerialBackend>();
        board = meter = nullptr;
        start();
    }
    ~Bench() {
        form.reset(); // while the rig's ports are still there
    }

    void configure(const RunSettings& s) {
        enableChannels(s.mask);
        std::tie(form->CoeffCH0, form->CoeffCH1, form->CoeffCH2) = std::tuple_cat(s.coefficients);
        form->CWNumEditFreq->setValue(s.period);
        form->CWNumEditNumPoint->setValue(s.perBlock);
        form->CWNumEditTotPoint->setValue(s.total);
        if (form->MSComm1->portOpen())
            form->SetupComm1();
        else
            chooseBoardPort(1);
    }

    // Runs until the station stops by itself.
    bool runToTheEnd(const RunSettings& s) {
        form->CommandSendData->click();
        return QTest::qWaitFor([this] { return form->CommandSave->isEnabled(); },
                               5000 + s.total * s.period);
    }

    // Saves at 0:00:second on 1 January 2026; the file's name.
    QString saveFile(int second) {
        clock->set(QDateTime(QDate(2026, 1, 1), QTime(0, 0, second)));
        form->CommandSave->click();
        return dir() + QStringLiteral("/VemraData 1-1 0-0-%1.txt").arg(second);
    }

    // The saved data lines without their time column.
    QList<QByteArray> save(int second) { return dataRows(saveFile(second)); }

    Rig rig;
};

} // namespace vemra::test
