// The serial port component: one event per whole block, and the real backend on a
// pseudo-terminal. Which device a port number opens, and the overruns of input that comes
// faster than it is taken, are checked through the window.

#include "platform/loopbackbackend.h"
#include "platform/qtserialbackend.h"
#include "platform/serialport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

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

    // Over QSerialPort on a pseudo-terminal linked as ./Comm1, as vemra-rig attaches, and as
    // at the start of a run: stale bytes in the kernel are emptied, then blocks stream. (A
    // device that vanishes is the rig runs' business: they unplug the rig's port mid-run.)
    void ptyClearedInputThenBlocks() {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY); // to see bytes arrive
        QVERIFY(QFile::link(QString::fromLocal8Bit(::ptsname(master)), "Comm1")); // in workDir_
        SerialPort port("MSComm1", std::make_unique<QtSerialBackend>(),
                        [] { return QStringList(); });
        QByteArrayList reads;
        connect(&port, &SerialPort::onComm, [&] { reads << port.readBytes(); });
        port.setCommPort(1);
        port.setInputLen(4);
        QString message;
        QVERIFY2(port.open(&message), qPrintable(message));

        QCOMPARE(::write(master, "junk", 4), 4);
        pollfd waiting{slave, POLLIN, 0};
        QCOMPARE(::poll(&waiting, 1, 5000), 1);
        port.clearInput();
        port.setRThreshold(4);
        QCOMPARE(::write(master, "abcdefgh", 8), 8);
        QTRY_COMPARE_WITH_TIMEOUT(reads, (QByteArrayList{"abcd", "efgh"}), 5000);
        port.close();
        ::close(slave);
        ::close(master);
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "test_serialport.moc"
