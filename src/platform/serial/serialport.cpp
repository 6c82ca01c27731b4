#include "platform/serial/serialport.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>
#include <utility>

namespace vemra {

namespace {

constexpr int firstPort = 1;
constexpr int lastPort = 8;

QString portLabel(int number) {
    return QStringLiteral("Comm%1").arg(number);
}

QString serialPortCount(qsizetype count) {
    if (count == 0)
        return QStringLiteral("no serial ports");
    if (count == 1)
        return QStringLiteral("only 1 serial port");
    return QStringLiteral("only %1 serial ports").arg(count);
}

} // namespace

std::optional<LineSettings> parseLineSettings(QStringView text) {
    const auto fields = text.split(u',');
    if (fields.size() != 4)
        return std::nullopt;

    LineSettings line;
    bool ok = false;
    line.baud = fields[0].trimmed().toInt(&ok);
    if (!ok || line.baud <= 0)
        return std::nullopt;

    const auto parity = fields[1].trimmed();
    if (parity.size() != 1)
        return std::nullopt;
    line.parity = parity[0].toUpper().toLatin1();
    if (!QByteArrayView("NEOMS").contains(line.parity))
        return std::nullopt;

    line.dataBits = fields[2].trimmed().toInt(&ok);
    if (!ok || line.dataBits < 5 || line.dataBits > 8)
        return std::nullopt;

    line.stopBits = fields[3].trimmed().toInt(&ok);
    if (!ok || (line.stopBits != 1 && line.stopBits != 2))
        return std::nullopt;
    return line;
}

QString resolvePortDevice(int number, const QString& workDir, const QStringList& systemPorts) {
    if (number < firstPort || number > lastPort)
        return {};
    // A dangling link still counts: opening it then fails with a reason the operator can
    // act on, instead of silently falling back to a system port.
    const QFileInfo link(QDir(workDir), portLabel(number));
    if (link.exists() || link.isSymLink())
        return QDir::cleanPath(link.absoluteFilePath());
    if (number <= systemPorts.size())
        return systemPorts[number - 1];
    return {};
}

QStringList systemSerialPorts() {
    QStringList ports;
    for (const auto& info : QSerialPortInfo::availablePorts())
        ports << info.systemLocation();
    // Numeric order, so that ttyS2 comes before ttyS10 and port numbers stay put.
    QCollator collator(QLocale(QLocale::English));
    collator.setNumericMode(true);
    std::sort(ports.begin(), ports.end(), collator);
    return ports;
}

SerialPort::SerialPort(QString name, std::unique_ptr<SerialBackend> backend, PortList systemPorts,
                       QObject* parent)
    : QObject(parent)
    , name_(std::move(name))
    , backend_(std::move(backend))
    , systemPorts_(std::move(systemPorts)) {
    connect(backend_.get(), &SerialBackend::readyRead, this, &SerialPort::received);
    connect(backend_.get(), &SerialBackend::failed, this, &SerialPort::backendFailed);
    quietTimer_ = new QTimer(this);
    quietTimer_->setSingleShot(true);
    connect(quietTimer_, &QTimer::timeout, this, &SerialPort::quiet);
}

SerialPort::~SerialPort() {
    close();
}

void SerialPort::setCommPort(int number) {
    commPort_ = number;
}

QString SerialPort::device() const {
    return resolvePortDevice(commPort_, QDir::currentPath(),
                             systemPorts_ ? systemPorts_() : QStringList());
}

bool SerialPort::portOpen() const {
    return backend_->isOpen();
}

bool SerialPort::open(QString* message) {
    if (portOpen())
        return true;

    const QString port = portLabel(commPort_);
    QString text;
    if (commPort_ < firstPort || commPort_ > lastPort) {
        text = QStringLiteral("Cannot open %1: port numbers go from %2 to %3")
                   .arg(port)
                   .arg(firstPort)
                   .arg(lastPort);
    } else {
        const QStringList system = systemPorts_ ? systemPorts_() : QStringList();
        const QString dev = resolvePortDevice(commPort_, QDir::currentPath(), system);
        QString reason;
        if (dev.isEmpty()) {
            text = QStringLiteral("Cannot open %1: no ./%1 in %2 and the system lists %3")
                       .arg(port, QDir::currentPath(), serialPortCount(system.size()));
        } else if (!backend_->open(dev, line_, &reason)) {
            text = QStringLiteral("Cannot open %1 (%2): %3").arg(port, dev, reason);
        } else {
            openDevice_ = dev;
            // Bytes may already wait in the device; their readyRead can come before or
            // after this, so look once more from the event loop.
            scheduleDispatch();
            return true;
        }
    }
    if (message)
        *message = text;
    return false;
}

void SerialPort::close() {
    if (backend_->isOpen())
        backend_->close();
    held_.clear();
    openDevice_.clear();
}

void SerialPort::setInBufferSize(int size) {
    inBufferSize_ = size;
}

bool SerialPort::setSettings(const QString& text) {
    const auto line = parseLineSettings(text);
    if (!line)
        return false;
    if (portOpen() && !backend_->setLine(*line, nullptr))
        return false;
    line_ = *line;
    return true;
}

void SerialPort::setRThreshold(int threshold) {
    rThreshold_ = threshold < 0 ? 0 : threshold;
    scheduleDispatch();
}

int SerialPort::inBufferCount() const {
    return portOpen() ? static_cast<int>(held_.size() + backend_->bytesAvailable()) : 0;
}

void SerialPort::clearInput() {
    held_.clear();
    if (portOpen())
        backend_->clearInput();
}

QByteArray SerialPort::readBytes() {
    if (!portOpen())
        return {};
    pull();
    const qsizetype count =
        inputLen_ == 0 ? held_.size() : std::min<qsizetype>(inputLen_, held_.size());
    QByteArray bytes = held_.left(count);
    held_.remove(0, count);
    return bytes;
}

qint64 SerialPort::takeOverrun() {
    return std::exchange(overrun_, 0);
}

QString SerialPort::readText() {
    return QString::fromLatin1(readBytes());
}

void sendByte(SerialPort& port, std::array<std::uint8_t, 1>& transmit, std::uint8_t byte) {
    transmit[0] = byte;
    port.write(QByteArray(reinterpret_cast<const char*>(transmit.data()), 1));
}

void sendBytes(SerialPort& port, std::array<std::uint8_t, 1>& transmit, QByteArrayView bytes) {
    for (const char byte : bytes)
        sendByte(port, transmit, static_cast<std::uint8_t>(byte));
}

QString SerialPort::readAllText() {
    if (!portOpen())
        return {};
    pull();
    return QString::fromLatin1(std::exchange(held_, {}));
}

void SerialPort::write(const QByteArray& bytes) {
    if (portOpen() && !bytes.isEmpty())
        backend_->write(bytes);
}

void SerialPort::writeText(const QString& text) {
    write(text.toLatin1());
}

void SerialPort::received() {
    pull();
    scheduleDispatch();
    if (quietMs_ > 0)
        quietTimer_->start(quietMs_);
}

void SerialPort::quiet() {
    pull();
    if (!portOpen() || held_.isEmpty() || held_.size() >= rThreshold_)
        return;
    event_ = CommEvent::Receive;
    emit onComm();
    event_ = CommEvent::None;
}

// Takes what the device received. Beyond the input buffer size the oldest whole blocks go:
// the reads stay aligned on block boundaries and the newest input is what remains.
void SerialPort::pull() {
    if (!portOpen() || backend_->bytesAvailable() <= 0)
        return;
    held_ += backend_->read(backend_->bytesAvailable());
    const qsizetype limit = std::max(inBufferSize_, rThreshold_);
    if (held_.size() <= limit)
        return;
    const qsizetype unit = rThreshold_ > 0 ? rThreshold_ : 1;
    const qsizetype lost = std::min(held_.size(), (held_.size() - limit + unit - 1) / unit * unit);
    held_.remove(0, lost);
    overrun_ += lost;
    overrunPending_ = true;
}

void SerialPort::scheduleDispatch() {
    if (dispatchPending_)
        return;
    dispatchPending_ = true;
    QMetaObject::invokeMethod(this, &SerialPort::dispatch, Qt::QueuedConnection);
}

void SerialPort::dispatch() {
    dispatchPending_ = false;
    pull();
    if (std::exchange(overrunPending_, false)) {
        event_ = CommEvent::Overrun;
        emit onComm();
        event_ = CommEvent::None;
    }
    // Every whole block waiting goes now, one handler call each. A handler that took
    // nothing is raised again only when more bytes come; raising it at once would spin.
    while (portOpen() && rThreshold_ > 0 && held_.size() >= rThreshold_) {
        const qsizetype before = held_.size();
        event_ = CommEvent::Receive;
        emit onComm();
        event_ = CommEvent::None;
        if (held_.size() >= before)
            break;
    }
}

void SerialPort::backendFailed(const QString& reason) {
    // The backend may have closed the device already; what counts is that it was open.
    if (openDevice_.isEmpty())
        return;
    const QString dev = openDevice_;
    close();
    emit portFailed(QStringLiteral("%1 (%2) stopped working and was closed: %3")
                        .arg(portLabel(commPort_), dev, reason));
}

} // namespace vemra
