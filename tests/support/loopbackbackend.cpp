#include "support/loopbackbackend.h"

namespace vemra {

bool LoopbackBackend::open(const QString& device, const LineSettings& line, QString* reason) {
    if (!openFailure_.isEmpty()) {
        if (reason)
            *reason = openFailure_;
        return false;
    }
    open_ = true;
    device_ = device;
    line_ = line;
    log_ << QStringLiteral("open %1").arg(device);
    return true;
}

void LoopbackBackend::close() {
    // A closed port keeps nothing of what it had received, as a real one does.
    input_.clear();
    open_ = false;
    log_ << QStringLiteral("close");
}

bool LoopbackBackend::setLine(const LineSettings& line, QString*) {
    line_ = line;
    return true;
}

QByteArray LoopbackBackend::read(qint64 maxBytes) {
    const QByteArray bytes = input_.left(maxBytes);
    input_.remove(0, bytes.size());
    return bytes;
}

bool LoopbackBackend::write(const QByteArray& bytes) {
    if (!open_)
        return false;
    written_ += bytes;
    log_ << QStringLiteral("write %1").arg(QString::fromLatin1(bytes.toHex(' ')));
    return true;
}

void LoopbackBackend::clearInput() {
    input_.clear();
    log_ << QStringLiteral("clear");
}

void LoopbackBackend::deliver(const QByteArray& bytes) {
    // Bytes sent to a closed port are lost, as on a real line.
    if (!open_)
        return;
    input_ += bytes;
    emit readyRead();
}

void LoopbackBackend::breakDevice(const QString& reason) {
    emit failed(reason);
}

} // namespace vemra
