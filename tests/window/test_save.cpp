// "Save" from the operator's side: the file it leaves, what it says, and the runs it
// refuses to write.

#include "board/decoding.h"
#include "support/formfixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vemra;
using vemra::test::FormFixture;

namespace {

QByteArray record(int raw) {
    QByteArray r(1, '\x00');
    r.append(static_cast<char>(raw & 0xFF));
    r.append(static_cast<char>(raw >> 8));
    r.append(static_cast<char>(
        board::recordChecksum(reinterpret_cast<const std::uint8_t*>(r.constData()) + 1, 2)));
    return r;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A finite CH0 run of `total` samples in blocks of 10, raw values counting from 0.
void runToTheEnd(FormFixture& fx, int total) {
    Form1& f = *fx.form;
    f.CWNumEditTotPoint->setValue(total);
    f.TotalPoints = total;
    fx.chooseBoardPort(1);
    f.CommandSendData->click();
    for (int first = 0; first < total; first += 10) {
        QByteArray block;
        for (int i = 0; i < 10; ++i)
            block += record(first + i);
        fx.board->deliver(block);
        QTRY_VERIFY(f.MSComm1->inBufferCount() == 0);
    }
    QVERIFY(f.CommandSave->isEnabled());
}

} // namespace

class SaveTest : public QObject {
    Q_OBJECT
private slots:
    void finiteRunSavesEveryBlock();
    void secondSaveInSameSecondGetsItsOwnName();
    void runLostByReshapeIsRefused();
    void unwritableDirectoryIsReported();
};

void SaveTest::finiteRunSavesEveryBlock() {
    FormFixture fx;
    Form1& f = fx.start();
    f.CoeffCH0 = 0.5;
    runToTheEnd(fx, 1000);
    f.CommandSave->click();

    QCOMPARE(fx.dialogs->shown.size(), 1);
    QCOMPARE(fx.dialogs->shown.first().title, QStringLiteral("DOWNLOAD"));
    QCOMPARE(fx.dialogs->shown.first().text, QStringLiteral("Data Saved"));
    const QByteArray file = readFile(fx.dir() + QStringLiteral("/VemraData 5-3 9-7-4.txt"));
    const QList<QByteArray> lines = file.split('\n');
    QCOMPARE(lines.size(), 1 + 1000 + 1); // header, data lines, nothing after the last CR LF
    QCOMPARE(lines[0], QByteArray("Time (mS)\tForce (g)\t\r"));
    QCOMPARE(lines[1], QByteArray("0\t0\t\r"));
    QCOMPARE(lines[4], QByteArray("120\t1,5\t\r"));
    QCOMPARE(lines[1000], QByteArray("39960\t499,5\t\r"));
}

void SaveTest::secondSaveInSameSecondGetsItsOwnName() {
    FormFixture fx;
    Form1& f = fx.start();
    runToTheEnd(fx, 20);
    f.CommandSave->click();
    f.CommandSave->click();
    QVERIFY(QFile::exists(fx.dir() + QStringLiteral("/VemraData 5-3 9-7-4.txt")));
    QVERIFY(QFile::exists(fx.dir() + QStringLiteral("/VemraData 5-3 9-7-4 (2).txt")));
    QCOMPARE(readFile(fx.dir() + QStringLiteral("/VemraData 5-3 9-7-4 (2).txt")),
             readFile(fx.dir() + QStringLiteral("/VemraData 5-3 9-7-4.txt")));
}

void SaveTest::runLostByReshapeIsRefused() {
    FormFixture fx;
    Form1& f = fx.start();
    runToTheEnd(fx, 20);
    // A second channel after the stop gives the run store a new shape.
    f.CheckEnCH1->setChecked(true);
    f.NumChannels = 2;
    f.GraphSetup();
    f.CommandSave->click();
    QCOMPARE(fx.dialogs->shown.size(), 1);
    QCOMPARE(fx.dialogs->shown.first().title, QStringLiteral("Warning"));
    QVERIFY(QDir(fx.dir()).entryList({QStringLiteral("VemraData*")}).isEmpty());
}

void SaveTest::unwritableDirectoryIsReported() {
    FormFixture fx;
    Form1& f = fx.start();
    runToTheEnd(fx, 20);
    QDir(fx.dir()).mkdir(QStringLiteral("gone"));
    QDir::setCurrent(fx.dir() + QStringLiteral("/gone"));
    QDir(fx.dir()).rmdir(QStringLiteral("gone"));
    f.CommandSave->click();
    QCOMPARE(fx.dialogs->shown.size(), 1);
    QCOMPARE(fx.dialogs->shown.first().title, QStringLiteral("Warning"));
    QVERIFY(fx.dialogs->shown.first().text.contains(QStringLiteral("VemraData 5-3 9-7-4")));
}

QTEST_MAIN(SaveTest)
#include "test_save.moc"
