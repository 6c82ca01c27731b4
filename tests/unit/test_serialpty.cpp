// SerialPort over QSerialPort on a pseudo-terminal linked as ./Comm1, as vemra-rig attaches.
// A device that vanishes is the rig runs' business (they unplug the rig's port mid-run).

#include "platform/qtserialbackend.h"
#include "platform/serialport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

using namespace vemra;

class TestSerialPty : public QObject {
    Q_OBJECT

private slots:
    // As at the start of a run: stale bytes in the kernel are emptied, then blocks stream.
    void clearedInputThenBlocksBothWays() {
        QTemporaryDir dir;
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY); // to see bytes arrive
        QVERIFY(QFile::link(QString::fromLocal8Bit(::ptsname(master)), dir.filePath("Comm1")));
        const QString startDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        SerialPort port("MSComm1", std::make_unique<QtSerialBackend>(),
                        [] { return QStringList(); });
        QByteArrayList reads;
        connect(&port, &SerialPort::onComm, [&] { reads << port.readBytes(); });
        port.setCommPort(1);
        port.setInputLen(4);
        QString message;
        QVERIFY2(port.open(&message), qPrintable(message));
        QDir::setCurrent(startDir);

        QCOMPARE(::write(master, "junk", 4), 4);
        pollfd waiting{slave, POLLIN, 0};
        QCOMPARE(::poll(&waiting, 1, 5000), 1);
        port.clearInput();
        port.setRThreshold(4);
        QCOMPARE(::write(master, "abcdefgh", 8), 8);
        QTRY_COMPARE_WITH_TIMEOUT(reads, (QByteArrayList{"abcd", "efgh"}), 5000);
        port.write(QByteArray("\x43\x01", 2));
        pollfd answer{master, POLLIN, 0};
        QTRY_VERIFY_WITH_TIMEOUT(::poll(&answer, 1, 0) == 1, 5000);
        char chunk[8];
        QCOMPARE(QByteArray(chunk, ::read(master, chunk, sizeof chunk)), QByteArray("\x43\x01", 2));
        port.close();
        ::close(slave);
        ::close(master);
    }
};

QTEST_GUILESS_MAIN(TestSerialPty)
#include "test_serialpty.moc"
