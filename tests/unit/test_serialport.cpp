#include "platform/loopbackbackend.h"
#include "platform/serialport.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace vemra;

struct Station {
    LoopbackBackend* line = new LoopbackBackend;
    SerialPort port{"MSComm1", std::unique_ptr<SerialBackend>(line), [] {
                        return QStringList{"/dev/ttyS0", "/dev/ttyS1"};
                    }};
};

class TestSerialPort : public QObject {
    Q_OBJECT
    QTemporaryDir workDir_;

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(workDir_.path())); }

    void parseLineSettings_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("parsed"); // baud, parity, data and stop bits
        QTest::newRow("board") << "115200,N,8,1" << QList<int>{115200, 'N', 8, 1};
        QTest::newRow("lower case, spaces") << " 300 , o , 5 , 2 " << QList<int>{300, 'O', 5, 2};
        for (const char* text : {"115200,N,8", "0,N,8,1", "fast,N,8,1", "9600,X,8,1", "9600,NE,8,1",
                                 "9600,N,4,1", "9600,N,9,1", "9600,N,8,3", "9600,N,8,1.5"})
            QTest::newRow(text) << text << QList<int>();
    }
    void parseLineSettings() {
        QFETCH(QString, text);
        QList<int> parsed;
        if (const auto l = vemra::parseLineSettings(text))
            parsed = {l->baud, l->parity, l->dataBits, l->stopBits};
        QTEST(parsed, "parsed");
    }

    void resolvePortDevice_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("expected"); // "<dir>" stands for the link's directory
        QTest::newRow("file beats system list") << 1 << "<dir>/Comm1";
        QTest::newRow("dangling link") << 2 << "<dir>/Comm2";
        QTest::newRow("system port") << 3 << "/dev/ttyUSB0";
        QTest::newRow("beyond system list") << 4 << "";
        QTest::newRow("nine, though ./Comm9 exists") << 9 << "";
    }
    void resolvePortDevice() {
        QFETCH(int, number);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const char* name : {"Comm1", "Comm9"})
            QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(dir.filePath("nowhere"), dir.filePath("Comm2")));
        QCOMPARE(vemra::resolvePortDevice(number, dir.path(),
                                          {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0"}),
                 expected.replace("<dir>", dir.path()));
    }

    void oneEventPerWholeBlock_data() {
        QTest::addColumn<QByteArrayList>("deliveries");
        QTest::addColumn<QString>("handler");      // read, read+clear, or none
        QTest::addColumn<QByteArrayList>("reads"); // "-" for an event that read nothing
        QTest::newRow("piled-up blocks in order")
            << QByteArrayList{"abcdefghijkl"} << "read" << QByteArrayList{"abcd", "efgh", "ijkl"};
        QTest::newRow("partial block completed later")
            << QByteArrayList{"ab", "c", "de"} << "read" << QByteArrayList{"abcd"};
        QTest::newRow("handler empties input")
            << QByteArrayList{"abcdefghijkl"} << "read+clear" << QByteArrayList{"abcd"};
        // A handler that leaves its block (as the meter's does in manual mode) is raised
        // again only when more bytes arrive, never in a loop.
        QTest::newRow("handler reads nothing")
            << QByteArrayList{"abcdefgh", "i"} << "none" << QByteArrayList{"-", "-"};
    }
    void oneEventPerWholeBlock() {
        QFETCH(QByteArrayList, deliveries);
        QFETCH(QString, handler);
        Station s;
        QByteArrayList reads;
        QObject::connect(&s.port, &SerialPort::onComm, [&] {
            reads << (handler == "none" ? QByteArray("-") : s.port.readBytes());
            if (handler == "read+clear")
                s.port.clearInput();
        });
        s.port.setCommPort(1);
        s.port.setRThreshold(4);
        s.port.setInputLen(4);
        QVERIFY(s.port.open());
        for (const QByteArray& bytes : deliveries) {
            const qsizetype before = reads.size();
            s.line->deliver(bytes);
            QCOMPARE(reads.size(), before); // never inside the delivering call
            for (int round = 0; round < 10; ++round)
                QCoreApplication::processEvents();
        }
        QTEST(reads, "reads");
    }

    void overrunDropsOldestWholeBlocksAndSaysSo() {
        Station s;
        QList<CommEvent> events;
        QByteArrayList reads;
        QObject::connect(&s.port, &SerialPort::onComm, [&] {
            events << s.port.commEvent();
            if (s.port.commEvent() == CommEvent::Receive)
                reads << s.port.readBytes();
        });
        s.port.setCommPort(1);
        s.port.setInBufferSize(10);
        s.port.setRThreshold(4);
        s.port.setInputLen(4);
        QVERIFY(s.port.open());
        s.line->deliver("abcdefghijklmnopq"); // room for 10 of 17: two whole blocks go
        QTRY_COMPARE(reads, (QByteArrayList{"ijkl", "mnop"}));
        QCOMPARE(events.first(), CommEvent::Overrun);
        QCOMPARE(s.port.takeOverrun(), 8);
        QCOMPARE(s.port.takeOverrun(), 0);
        QCOMPARE(s.port.inBufferCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "test_serialport.moc"
