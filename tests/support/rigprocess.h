#pragma once
// vemra-rig started for a test in the test's working directory: the board on ./Comm1, the
// meter on ./Comm2, every record it sends in a ground-truth file.

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <map>
#include <vector>

namespace vemra::test {

class RigProcess {
public:
    RigProcess(const QString& dir, const QStringList& options)
        : truthPath_(dir + QStringLiteral("/truth.txt")) {
        const QString program = qEnvironmentVariable("VEMRA_RIG");
        process_.setProgram(program);
        process_.setArguments(QStringList{QStringLiteral("--dir"), dir, QStringLiteral("--truth"),
                                          truthPath_, QStringLiteral("--log"),
                                          dir + QStringLiteral("/rig.log")} +
                              options);
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.start();
    }
    ~RigProcess() {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(3000);
    }

    // True once the rig has made its links.
    bool waitReady() {
        for (int i = 0; i < 100 && !ready_; ++i) {
            process_.waitForReadyRead(100);
            ready_ = process_.readAllStandardOutput().contains("ready");
        }
        return ready_;
    }

    // Raw samples per record of run `run` (numbered from 1), in the order sent.
    std::vector<std::vector<int>> truth(int run) const {
        std::vector<std::vector<int>> records;
        QFile file(truthPath_);
        if (!file.open(QIODevice::ReadOnly))
            return records;
        const QByteArray prefix = QByteArray::number(run) + ' ';
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (!line.startsWith(prefix))
                continue;
            const QList<QByteArray> fields = line.split(' ');
            std::vector<int> raws;
            for (int k = 3; k < fields.size(); ++k) {
                bool ok = false;
                const int raw = fields[k].toInt(&ok);
                if (ok)
                    raws.push_back(raw);
            }
            records.push_back(raws);
        }
        return records;
    }

private:
    QString truthPath_;
    QProcess process_;
    bool ready_ = false;
};

} // namespace vemra::test
