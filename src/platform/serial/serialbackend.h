#pragma once
// What a SerialPort needs of a device: QSerialPort in the program, memory in window tests.

#include <QByteArray>
#include <QObject>
#include <QString>

namespace vemra {

struct LineSettings {
    qint32 baud = 9600;
    char parity = 'N'; // 'N', 'E', 'O', 'M', 'S'
    int dataBits = 8;
    int stopBits = 1;
};

class SerialBackend : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialBackend() override = default;

    // On failure returns false and puts the operating system's reason in *reason.
    virtual bool open(const QString& device, const LineSettings& line, QString* reason) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Changes the line settings of the open device.
    virtual bool setLine(const LineSettings& line, QString* reason) = 0;
    virtual qint64 bytesAvailable() const = 0;
    virtual QByteArray read(qint64 maxBytes) = 0;
    virtual bool write(const QByteArray& bytes) = 0;
    // Discards everything received so far, in the library and in the kernel.
    virtual void clearInput() = 0;

signals:
    void readyRead();
    // The device broke (unplugged adapter, vanished pseudo-terminal, I/O error); the
    // backend may have closed it already.
    void failed(const QString& reason);
};

} // namespace vemra
