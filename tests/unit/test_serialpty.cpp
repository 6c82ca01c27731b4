// SerialPort over QSerialPort on a real pseudo-terminal linked as ./Comm1, the way an
// operator's link or vemra-rig attaches a device.

#include "platform/qtserialbackend.h"
#include "platform/serialport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

using namespace vemra;

namespace {

constexpr int waitMs = 5000;

std::unique_ptr<SerialPort> makePort(int number = 1) {
    auto port = std::make_unique<SerialPort>("MSComm1", std::make_unique<QtSerialBackend>(),
                                             [] { return QStringList(); });
    port->setCommPort(number);
    return port;
}

} // namespace

class TestSerialPty : public QObject {
    Q_OBJECT
    QString startDir_;
    std::unique_ptr<QTemporaryDir> dir_;
    int master_ = -1;
    int slave_ = -1; // kept open so that the line stays raw between the station's opens
    QByteArray fromStation_;

    void writeMaster(const QByteArray& bytes) {
        QCOMPARE(::write(master_, bytes.constData(), bytes.size()), bytes.size());
    }
    QByteArray readMaster() {
        char chunk[256];
        for (ssize_t n; (n = ::read(master_, chunk, sizeof chunk)) > 0;)
            fromStation_.append(chunk, n);
        return fromStation_;
    }
    void closePty() {
        for (int* fd : {&master_, &slave_}) {
            if (*fd >= 0)
                ::close(*fd);
            *fd = -1;
        }
    }

private slots:
    void initTestCase() { startDir_ = QDir::currentPath(); }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(master_ >= 0);
        QVERIFY(::grantpt(master_) == 0 && ::unlockpt(master_) == 0);
        const QString slavePath = QString::fromLocal8Bit(::ptsname(master_));
        slave_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
        QVERIFY(slave_ >= 0);
        termios raw{};
        QCOMPARE(::tcgetattr(slave_, &raw), 0);
        ::cfmakeraw(&raw);
        QCOMPARE(::tcsetattr(slave_, TCSANOW, &raw), 0);
        QVERIFY(QFile::link(slavePath, dir_->filePath("Comm1")));
        QVERIFY(QDir::setCurrent(dir_->path()));
        fromStation_.clear();
    }
    void cleanup() {
        closePty();
        QDir::setCurrent(startDir_);
        dir_.reset();
    }

    void blocksBothWays() {
        auto port = makePort();
        QByteArrayList reads;
        connect(port.get(), &SerialPort::onComm, [&] { reads << port->readBytes(); });
        port->setRThreshold(4);
        port->setInputLen(4);
        QString message;
        QVERIFY2(port->open(&message), qPrintable(message));
        QCOMPARE(port->device(), dir_->filePath("Comm1"));

        writeMaster("abcdefgh");
        QTRY_COMPARE_WITH_TIMEOUT(reads.size(), 2, waitMs);
        QCOMPARE(reads, (QByteArrayList{"abcd", "efgh"}));

        port->write(QByteArray("\x43\x01", 2));
        QTRY_COMPARE_WITH_TIMEOUT(readMaster(), QByteArray("\x43\x01", 2), waitMs);
    }

    // A pseudo-terminal keeps 8 data bits and no parity whatever it is told, and Qt reads
    // the line back after setting it: those settings are refused.
    void settingsReachDevice_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("speed");
        QTest::addColumn<bool>("twoStops");
        QTest::newRow("board") << "115200,N,8,1" << true << int(B115200) << false;
        QTest::newRow("meter") << "9600,N,8,2" << true << int(B9600) << true;
        QTest::newRow("refused parity") << "4800,E,8,1" << false << 0 << false;
        QTest::newRow("refused data bits") << "4800,N,7,1" << false << 0 << false;
    }
    void settingsReachDevice() {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        auto port = makePort();
        QVERIFY(port->setSettings("300,N,8,2"));
        QVERIFY(port->open());
        QCOMPARE(port->setSettings(text), accepted);
        if (!accepted) {
            QCOMPARE(port->settings().baud, 300);
            return;
        }
        termios line{};
        QCOMPARE(::tcgetattr(slave_, &line), 0);
        QTEST(int(::cfgetospeed(&line)), "speed");
        QTEST((line.c_cflag & CSTOPB) != 0, "twoStops");
    }

    void clearInputDiscardsSentBytes_data() {
        QTest::addColumn<bool>("readByQt");
        QTest::newRow("waiting in the kernel") << false;
        QTest::newRow("read by Qt") << true;
    }
    void clearInputDiscardsSentBytes() {
        QFETCH(bool, readByQt);
        auto port = makePort();
        QByteArrayList reads;
        connect(port.get(), &SerialPort::onComm, [&] { reads << port->readBytes(); });
        QVERIFY(port->open());
        writeMaster("junk");
        if (readByQt) {
            QTRY_COMPARE_WITH_TIMEOUT(port->inBufferCount(), 4, waitMs);
        } else {
            pollfd waiting{slave_, POLLIN, 0};
            QCOMPARE(::poll(&waiting, 1, waitMs), 1);
        }
        port->clearInput();
        port->setRThreshold(4);
        writeMaster("good");
        QTRY_COMPARE_WITH_TIMEOUT(reads.size(), 1, waitMs);
        QCOMPARE(reads[0], QByteArray("good"));
    }

    void openFailure_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("reason");
        QTest::newRow("dangling link") << 2 << "No such file or directory";
        QTest::newRow("not a terminal") << 3 << "Inappropriate ioctl for device";
        QTest::newRow("busy") << 1 << "in use";
    }
    void openFailure() {
        QFETCH(int, number);
        QFETCH(QString, reason);
        QVERIFY(QFile::link(dir_->filePath("nowhere"), "Comm2"));
        QFile plain("Comm3");
        QVERIFY(plain.open(QIODevice::WriteOnly));
        auto holder = makePort(1);
        QVERIFY(holder->open());

        auto port = makePort(number);
        QString message;
        QVERIFY(!port->open(&message));
        QVERIFY(!port->portOpen());
        const QString device = dir_->filePath(QStringLiteral("Comm%1").arg(number));
        for (const QString& mention : {QStringLiteral("Comm%1").arg(number), device, reason})
            QVERIFY2(message.contains(mention), qPrintable(message));
    }

    void vanishedDeviceClosesPort() {
        auto port = makePort();
        QSignalSpy failures(port.get(), &SerialPort::portFailed);
        QVERIFY(port->open());
        closePty();
        QTRY_COMPARE_WITH_TIMEOUT(failures.size(), 1, waitMs);
        QVERIFY(!port->portOpen());
        QVERIFY(!port->backend()->isOpen());
        const QString message = failures[0][0].toString();
        for (const QString& mention :
             {QStringLiteral("Comm1"), dir_->filePath("Comm1"), QStringLiteral("hung up")})
            QVERIFY2(message.contains(mention), qPrintable(message));

        // The event loop goes on and reports the failure once only.
        bool loopRan = false;
        QTimer::singleShot(0, [&] { loopRan = true; });
        QTRY_VERIFY_WITH_TIMEOUT(loopRan, waitMs);
        QCOMPARE(failures.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSerialPty)
#include "test_serialpty.moc"
