// SerialPort over QSerialPort on a pseudo-terminal linked as ./Comm1, as vemra-rig attaches.

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
    QString startDir_ = QDir::currentPath();
    std::unique_ptr<QTemporaryDir> dir_;
    int master_ = -1;
    int slave_ = -1; // the station's side, to see bytes reach it
    std::unique_ptr<SerialPort> port_;
    QByteArrayList reads_;
    QByteArray fromStation_;

    void writeMaster(const QByteArray& bytes) {
        QCOMPARE(::write(master_, bytes.constData(), bytes.size()), bytes.size());
    }
    QByteArray readMaster() {
        char chunk[64];
        for (ssize_t n; (n = ::read(master_, chunk, sizeof chunk)) > 0;)
            fromStation_.append(chunk, n);
        return fromStation_;
    }
    void closePty() {
        ::close(master_); // after an earlier close: -1, refused harmlessly
        ::close(slave_);
        master_ = slave_ = -1;
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0);
        slave_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
        QVERIFY(QFile::link(QString::fromLocal8Bit(::ptsname(master_)), dir_->filePath("Comm1")));
        QVERIFY(QDir::setCurrent(dir_->path()));
        reads_.clear();
        fromStation_.clear();
        port_ = std::make_unique<SerialPort>("MSComm1", std::make_unique<QtSerialBackend>(),
                                             [] { return QStringList(); });
        connect(port_.get(), &SerialPort::onComm, [this] { reads_ << port_->readBytes(); });
        port_->setCommPort(1);
        port_->setInputLen(4);
        QString message;
        QVERIFY2(port_->open(&message), qPrintable(message));
    }
    void cleanup() {
        port_.reset();
        closePty();
        QDir::setCurrent(startDir_);
        dir_.reset();
    }

    // As at the start of a run: stale bytes in the kernel are emptied, then blocks stream.
    void clearedInputThenBlocksBothWays() {
        writeMaster("junk");
        pollfd waiting{slave_, POLLIN, 0};
        QCOMPARE(::poll(&waiting, 1, 5000), 1);
        port_->clearInput();
        port_->setRThreshold(4);
        writeMaster("abcdefgh");
        QTRY_COMPARE_WITH_TIMEOUT(reads_, (QByteArrayList{"abcd", "efgh"}), 5000);
        port_->write(QByteArray("\x43\x01", 2));
        QTRY_COMPARE_WITH_TIMEOUT(readMaster(), QByteArray("\x43\x01", 2), 5000);
    }

    void vanishedDeviceClosesPortOnce() {
        QSignalSpy failures(port_.get(), &SerialPort::portFailed);
        closePty();
        QTRY_COMPARE_WITH_TIMEOUT(failures.size(), 1, 5000);
        QVERIFY(!port_->portOpen());
        QVERIFY(!port_->backend()->isOpen());
        const QString message = failures[0][0].toString();
        for (const QString& mention :
             {QString("Comm1"), dir_->filePath("Comm1"), QString("hung up")})
            QVERIFY2(message.contains(mention), qPrintable(message));
        for (int round = 0; round < 10; ++round)
            QCoreApplication::processEvents();
        QCOMPARE(failures.size(), 1); // reported once, however often the dead line wakes Qt
    }
};

QTEST_GUILESS_MAIN(TestSerialPty)
#include "test_serialpty.moc"
