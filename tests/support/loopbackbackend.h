#pragma once
// In-memory serial device for window tests: the test plays the far end, delivering bytes
// and reading back what the station wrote, in order, with the station's other operations.

#include "platform/serial/serialbackend.h"

#include <QStringList>

namespace vemra {

class LoopbackBackend : public SerialBackend {
    Q_OBJECT
public:
    using SerialBackend::SerialBackend;

    bool open(const QString& device, const LineSettings& line, QString* reason) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool setLine(const LineSettings& line, QString* reason) override;
    qint64 bytesAvailable() const override { return input_.size(); }
    QByteArray read(qint64 maxBytes) override;
    bool write(const QByteArray& bytes) override;
    void clearInput() override;

    // The far end sends bytes; readyRead follows.
    void deliver(const QByteArray& bytes);
    // The device breaks (as an unplugged adapter does).
    void breakDevice(const QString& reason);
    // The next opens fail with this reason (empty: they succeed).
    void setOpenFailure(const QString& reason) { openFailure_ = reason; }

    // Every byte the station wrote, in order.
    QByteArray written() const { return written_; }
    void clearWritten() { written_.clear(); }
    // The station's operations in order: "open <device>", "close", "clear", "write <hex>".
    QStringList log() const { return log_; }
    void clearLog() { log_.clear(); }
    QString device() const { return device_; }
    LineSettings line() const { return line_; }

private:
    bool open_ = false;
    QString device_;
    LineSettings line_;
    QByteArray input_;
    QByteArray written_;
    QStringList log_;
    QString openFailure_;
};

} // namespace vemra
