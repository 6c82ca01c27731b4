#include "platform/serial/qtserialbackend.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <poll.h>
#include <unistd.h>

namespace vemra {

namespace {

// How long closing may wait for each chunk of output still queued in Qt: bytes written
// just before a close reach the device, as they would through a driver's own buffer.
constexpr int drainMilliseconds = 100;

// After bytes arrived the device is left alone this long, so that the records of a fast
// stream come in a few reads a frame instead of a wake-up each (a board at 1 ms per record
// would otherwise wake the station a thousand times a second). The kernel holds the bytes
// meanwhile, and the display shows them at most 20 times a second anyway.
constexpr int restMilliseconds = 20;

QSerialPort::Parity qtParity(char parity) {
    switch (parity) {
    case 'E':
        return QSerialPort::EvenParity;
    case 'O':
        return QSerialPort::OddParity;
    case 'M':
        return QSerialPort::MarkParity;
    case 'S':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

bool applyLine(QSerialPort& port, const LineSettings& line) {
    return port.setBaudRate(line.baud) && port.setParity(qtParity(line.parity)) &&
           port.setDataBits(static_cast<QSerialPort::DataBits>(line.dataBits)) &&
           port.setStopBits(line.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
           port.setFlowControl(QSerialPort::NoFlowControl);
}

} // namespace

QtSerialBackend::QtSerialBackend(QObject* parent)
    : SerialBackend(parent) {
    connect(&port_, &QSerialPort::readyRead, this, &QtSerialBackend::arrived);
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialBackend::errorOccurred);
    resume_.setSingleShot(true);
    resume_.setInterval(restMilliseconds);
    resume_.setTimerType(Qt::PreciseTimer);
    connect(&resume_, &QTimer::timeout, this, [this] {
        if (!readNotifier_)
            return;
        readNotifier_->setEnabled(true);
        // Bytes that came during the rest are read in this wake-up, not in one more that the
        // notifier would cost; with nothing waiting the notifier wakes us when bytes come.
        pollfd line{static_cast<int>(port_.handle()), POLLIN, 0};
        if (port_.isOpen() && ::poll(&line, 1, 0) == 1 && (line.revents & POLLIN)) {
            QEvent readable(QEvent::SockAct);
            QCoreApplication::sendEvent(readNotifier_, &readable);
        }
    });
}

// QSerialPort reads whenever its descriptor is readable and offers no pause, so its read
// notifier is rested directly; when it wakes, everything that piled up is read at once.
void QtSerialBackend::arrived() {
    emit readyRead();
    if (!readNotifier_) {
        for (QSocketNotifier* notifier : port_.findChildren<QSocketNotifier*>()) {
            if (notifier->type() == QSocketNotifier::Read)
                readNotifier_ = notifier;
        }
    }
    if (readNotifier_ && port_.isOpen() && !resume_.isActive()) {
        readNotifier_->setEnabled(false);
        resume_.start();
    }
}

bool QtSerialBackend::open(const QString& device, const LineSettings& line, QString* reason) {
    close();
    port_.clearError();
    port_.setPortName(device);
    if (!applyLine(port_, line) || !port_.open(QIODevice::ReadWrite)) {
        if (reason) {
            // Qt reports a lock file held by another program as a permission error, though
            // the device itself is ours to use.
            const bool locked = port_.error() == QSerialPort::PermissionError &&
                                ::access(device.toLocal8Bit().constData(), R_OK | W_OK) == 0;
            *reason =
                locked ? QStringLiteral("in use by another program (%1)").arg(port_.errorString())
                       : port_.errorString();
        }
        return false;
    }
    port_.clearError();
    return true;
}

void QtSerialBackend::close() {
    if (!port_.isOpen())
        return;
    while (port_.bytesToWrite() > 0 && port_.waitForBytesWritten(drainMilliseconds)) {
    }
    port_.close();
}

bool QtSerialBackend::setLine(const LineSettings& line, QString* reason) {
    if (applyLine(port_, line))
        return true;
    if (reason)
        *reason = port_.errorString();
    return false;
}

bool QtSerialBackend::write(const QByteArray& bytes) {
    return port_.write(bytes) == bytes.size();
}

void QtSerialBackend::clearInput() {
    port_.clear(QSerialPort::Input);
    port_.skip(port_.bytesAvailable());
}

void QtSerialBackend::errorOccurred(QSerialPort::SerialPortError error) {
    // Everything else leaves the port usable: a pseudo-terminal, for one, refuses the
    // modem-line ioctls with UnsupportedOperationError.
    const bool fatal = error == QSerialPort::ReadError || error == QSerialPort::ResourceError ||
                       error == QSerialPort::WriteError;
    if (fatal && port_.isOpen())
        reportFailure(failureReason());
}

QString QtSerialBackend::failureReason() const {
    // A hung-up line reads as end of file, and Qt then reports whatever errno happened to
    // hold (often the modem-line ioctl of the open): name the hang-up instead.
    pollfd line{static_cast<int>(port_.handle()), 0, 0};
    if (::poll(&line, 1, 0) == 1 && (line.revents & POLLHUP))
        return QStringLiteral("the line hung up (device unplugged or its far end closed)");
    return port_.errorString();
}

// Closing a QSerialPort inside its own errorOccurred deletes the notifier that is
// emitting, so the port is closed from the event loop. Until then a vanished
// pseudo-terminal keeps raising errors; only the first is reported. The port is closed
// here, not left to the listener, because an open broken port spins a core.
void QtSerialBackend::reportFailure(const QString& reason) {
    if (failurePending_)
        return;
    failurePending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, reason] {
            failurePending_ = false;
            if (!port_.isOpen())
                return;
            port_.close();
            emit failed(reason);
        },
        Qt::QueuedConnection);
}

} // namespace vemra
