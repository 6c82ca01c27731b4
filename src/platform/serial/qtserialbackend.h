#pragma once
// The station's serial device in the program: a QSerialPort opened by path.

#include "platform/serial/serialbackend.h"

#include <QPointer>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTimer>

namespace vemra {

class QtSerialBackend : public SerialBackend {
    Q_OBJECT
public:
    explicit QtSerialBackend(QObject* parent = nullptr);

    bool open(const QString& device, const LineSettings& line, QString* reason) override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    bool setLine(const LineSettings& line, QString* reason) override;
    qint64 bytesAvailable() const override { return port_.bytesAvailable(); }
    QByteArray read(qint64 maxBytes) override { return port_.read(maxBytes); }
    bool write(const QByteArray& bytes) override;
    void clearInput() override;

private:
    void arrived();
    void errorOccurred(QSerialPort::SerialPortError error);
    QString failureReason() const;
    void reportFailure(const QString& reason);

    QSerialPort port_;
    bool failurePending_ = false;
    QPointer<QSocketNotifier> readNotifier_;
    QTimer resume_;
};

} // namespace vemra
