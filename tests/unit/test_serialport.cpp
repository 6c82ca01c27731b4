// SerialPort over the in-memory loopback: threshold events, settings, port numbers, open
// failures and device failures.

#include "platform/loopbackbackend.h"
#include "platform/serialport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace vemra;

namespace {

// Every event here travels through posted events only, so a few rounds of the event loop
// deliver all of them.
void settle() {
    for (int round = 0; round < 10; ++round)
        QCoreApplication::processEvents();
}

struct Station {
    LoopbackBackend* line = nullptr;
    std::unique_ptr<SerialPort> port;
    QList<QByteArray> reads;
    int events = 0;

    explicit Station(QStringList systemPorts = {"/dev/ttyS0", "/dev/ttyS1"}) {
        auto backend = std::make_unique<LoopbackBackend>();
        line = backend.get();
        port = std::make_unique<SerialPort>("MSComm1", std::move(backend),
                                            [systemPorts] { return systemPorts; });
    }
    void readOnEachEvent() {
        QObject::connect(port.get(), &SerialPort::onComm, [this] {
            ++events;
            QCOMPARE(port->commEvent(), CommEvent::Receive);
            reads << port->readBytes();
        });
    }
};

} // namespace

class TestSerialPort : public QObject {
    Q_OBJECT
    QTemporaryDir workDir_;

private slots:
    void initTestCase() {
        QVERIFY(workDir_.isValid());
        QVERIFY(QDir::setCurrent(workDir_.path()));
    }

    void parseLineSettings_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("baud");
        QTest::addColumn<QString>("parity");
        QTest::addColumn<int>("dataBits");
        QTest::addColumn<int>("stopBits");
        QTest::newRow("board") << "115200,N,8,1" << true << 115200 << "N" << 8 << 1;
        QTest::newRow("meter") << "9600,N,8,2" << true << 9600 << "N" << 8 << 2;
        QTest::newRow("even 7") << "4800,E,7,1" << true << 4800 << "E" << 7 << 1;
        QTest::newRow("lower case, spaces") << " 300 , o , 5 , 2 " << true << 300 << "O" << 5 << 2;
        QTest::newRow("mark") << "1200,M,6,1" << true << 1200 << "M" << 6 << 1;
        QTest::newRow("space") << "2400,S,8,1" << true << 2400 << "S" << 8 << 1;
        const char* malformed[] = {"",           "115200",      "115200,N,8",  "115200,N,8,1,0",
                                   "fast,N,8,1", "0,N,8,1",     "-9600,N,8,1", "9600,X,8,1",
                                   "9600,,8,1",  "9600,NE,8,1", "9600,N,4,1",  "9600,N,9,1",
                                   "9600,N,8,0", "9600,N,8,3",  "9600,N,8,1.5"};
        for (const char* text : malformed)
            QTest::newRow(text) << text << false << 0 << "" << 0 << 0;
    }
    void parseLineSettings() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const auto line = vemra::parseLineSettings(text);
        QCOMPARE(line.has_value(), valid);
        if (!valid)
            return;
        QTEST(int(line->baud), "baud");
        QTEST(QString(QChar(line->parity)), "parity");
        QTEST(line->dataBits, "dataBits");
        QTEST(line->stopBits, "stopBits");
    }

    void settingsKeepOldOnMalformedAndReachOpenDevice() {
        Station s;
        QVERIFY(s.port->setSettings("9600,N,8,2"));
        QVERIFY(!s.port->setSettings("9600;N;8;2"));
        QCOMPARE(s.port->settings().stopBits, 2);
        QVERIFY(s.port->open());
        QCOMPARE(s.line->line().baud, 9600);
        QVERIFY(s.port->setSettings("115200,E,7,1"));
        QCOMPARE(s.line->line().baud, 115200);
        QCOMPARE(s.line->line().parity, 'E');
        QCOMPARE(s.line->line().dataBits, 7);
    }

    void resolvePortDevice_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("expected"); // "<dir>" stands for the working directory
        QTest::newRow("file beats system list") << 1 << "<dir>/Comm1";
        QTest::newRow("dangling link") << 2 << "<dir>/Comm2";
        QTest::newRow("system port") << 3 << "/dev/ttyUSB0";
        QTest::newRow("beyond system list") << 4 << "";
        QTest::newRow("zero") << 0 << "";
        QTest::newRow("nine, though ./Comm9 exists") << 9 << "";
    }
    void resolvePortDevice() {
        QFETCH(int, number);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const char* name : {"Comm1", "Comm9"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::link(dir.filePath("nowhere"), dir.filePath("Comm2")));
        expected.replace("<dir>", dir.path());
        QCOMPARE(vemra::resolvePortDevice(number, dir.path(),
                                          {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0"}),
                 expected);
    }

    void openFailure_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("deviceRefuses");
        QTest::addColumn<QStringList>("mentions"); // "<dir>" stands for the working directory
        QTest::newRow("out of range") << 9 << "" << QStringList{"Comm9", "1 to 8"};
        QTest::newRow("no device")
            << 4 << "" << QStringList{"Comm4", "no ./Comm4 in <dir>", "only 2 serial ports"};
        QTest::newRow("device refuses")
            << 2 << "Permission denied" << QStringList{"Comm2", "/dev/ttyS1", "Permission denied"};
    }
    void openFailure() {
        QFETCH(int, number);
        QFETCH(QString, deviceRefuses);
        QFETCH(QStringList, mentions);
        Station s;
        s.line->setOpenFailure(deviceRefuses);
        s.port->setCommPort(number);
        QString message;
        QVERIFY(!s.port->open(&message));
        QVERIFY(!s.port->portOpen());
        QVERIFY(s.line->log().isEmpty());
        QVERIFY2(!message.contains('\n'), qPrintable(message));
        for (QString mention : mentions)
            QVERIFY2(message.contains(mention.replace("<dir>", QDir::currentPath())),
                     qPrintable(message));
    }

    void thresholdDelivery_data() {
        QTest::addColumn<int>("threshold");
        QTest::addColumn<int>("inputLen");
        QTest::addColumn<QByteArrayList>("deliveries");
        QTest::addColumn<QByteArrayList>("reads");
        QTest::newRow("three blocks at once")
            << 4 << 4 << QByteArrayList{"abcdefghijkl"} << QByteArrayList{"abcd", "efgh", "ijkl"};
        QTest::newRow("partial block waits") << 4 << 4 << QByteArrayList{"abc"} << QByteArrayList{};
        QTest::newRow("block completed later")
            << 4 << 4 << QByteArrayList{"ab", "c", "de"} << QByteArrayList{"abcd"};
        QTest::newRow("read length zero takes all")
            << 4 << 0 << QByteArrayList{"abcdef"} << QByteArrayList{"abcdef"};
        QTest::newRow("threshold zero") << 0 << 4 << QByteArrayList{"abcd"} << QByteArrayList{};
    }
    void thresholdDelivery() {
        QFETCH(int, threshold);
        QFETCH(int, inputLen);
        QFETCH(QByteArrayList, deliveries);
        Station s;
        s.readOnEachEvent();
        s.port->setRThreshold(threshold);
        s.port->setInputLen(inputLen);
        QVERIFY(s.port->open());
        for (const auto& bytes : deliveries) {
            s.line->deliver(bytes);
            QCOMPARE(s.events, 0); // never inside the delivering call
            settle();
        }
        QTEST(s.reads, "reads");
    }

    void handlerActions_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QByteArrayList>("reads");
        QTest::addColumn<int>("events");
        // A handler that leaves its block is raised again while the block waits.
        QTest::newRow("skips its first read")
            << "skip" << QByteArrayList{"", "abcd", "efgh", "ijkl"} << 4;
        QTest::newRow("empties input") << "clear" << QByteArrayList{"abcd"} << 1;
        QTest::newRow("closes the port") << "close" << QByteArrayList{"abcd"} << 1;
        QTest::newRow("lowers threshold")
            << "lower" << QByteArrayList{"abcd", "ef", "gh", "ij", "kl"} << 5;
    }
    void handlerActions() {
        QFETCH(QString, action);
        Station s;
        s.port->setRThreshold(4);
        s.port->setInputLen(4);
        QObject::connect(s.port.get(), &SerialPort::onComm, [&] {
            ++s.events;
            if (action == "skip" && s.events == 1) {
                s.reads << QByteArray();
                return;
            }
            s.reads << s.port->readBytes();
            if (action == "clear")
                s.port->clearInput();
            else if (action == "close")
                s.port->close();
            else if (action == "lower") {
                s.port->setInputLen(2);
                s.port->setRThreshold(2);
            }
        });
        QVERIFY(s.port->open());
        s.line->deliver("abcdefghijkl");
        settle();
        QTEST(s.reads, "reads");
        QTEST(s.events, "events");
    }

    void raisingThresholdOverWaitingData() {
        Station s;
        s.readOnEachEvent();
        s.port->setInputLen(4);
        QVERIFY(s.port->open());
        s.line->deliver("abcdefgh");
        settle();
        QCOMPARE(s.events, 0);
        s.port->setRThreshold(4);
        QCOMPARE(s.events, 0); // never inside the setting call
        settle();
        QCOMPARE(s.reads, (QByteArrayList{"abcd", "efgh"}));
    }

    void bytesAndText() {
        Station s;
        s.port->write("lost");
        QVERIFY(s.port->open());
        s.port->write(QByteArray("\x43\x01", 2));
        s.port->writeText(QString::fromUtf8("é!"));
        QCOMPARE(s.line->written(), QByteArray("\x43\x01\xe9!"));
        QCOMPARE(s.line->log(), (QStringList{"open /dev/ttyS0", "write 43 01", "write e9 21"}));
        s.line->deliver(QByteArray::fromHex("b0") + "C ok");
        QCOMPARE(s.port->inBufferCount(), 5);
        s.port->setInputLen(2);
        QCOMPARE(s.port->readText(), QString::fromUtf8("°C"));
        s.port->clearInput();
        QCOMPARE(s.port->inBufferCount(), 0);
    }

    void deviceFailureClosesPort() {
        Station s;
        QSignalSpy failures(s.port.get(), &SerialPort::portFailed);
        s.line->breakDevice("ignored while closed");
        QVERIFY(s.port->open());
        s.line->breakDevice("Input/output error");
        QCOMPARE(failures.size(), 1);
        const QString message = failures[0][0].toString();
        for (const char* mention : {"Comm1", "/dev/ttyS0", "Input/output error"})
            QVERIFY2(message.contains(mention), qPrintable(message));
        QVERIFY(!s.port->portOpen());
        QCOMPARE(s.line->log().last(), "close");
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "test_serialport.moc"
