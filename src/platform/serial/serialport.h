#pragma once
// One serial link of the station (board or multimeter): port number 1..8, line settings
// from text, binary or text input, read length and a receive threshold that raises one
// comm event per whole block. The input it holds is bounded by the input buffer size: what
// arrives beyond it pushes out the oldest whole blocks, which are counted as an overrun and
// announced by a comm event of their own, never lost in silence.

#include "platform/serial/serialbackend.h"

#include <QByteArrayView>
#include <QStringList>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace vemra {

enum class CommEvent { None = 0, Send = 1, Receive = 2, Overrun = 1008 };
enum class InputMode { Text = 0, Binary = 1 };

// "115200,N,8,1" → 115200 baud, no parity, 8 data bits, 1 stop bit.
std::optional<LineSettings> parseLineSettings(QStringView text);

// Port number → device: ./CommN in workDir when it exists (opened by its absolute path),
// else the N-th of the system's serial ports; empty when neither exists or N is not 1..8.
QString resolvePortDevice(int number, const QString& workDir, const QStringList& systemPorts);

// The system's serial ports in a stable order (device paths).
QStringList systemSerialPorts();

class SerialPort;

// Every byte goes out as a write of its own through the one-byte transmit buffer, as the
// board takes its commands.
void sendByte(SerialPort& port, std::array<std::uint8_t, 1>& transmit, std::uint8_t byte);
void sendBytes(SerialPort& port, std::array<std::uint8_t, 1>& transmit, QByteArrayView bytes);

class SerialPort : public QObject {
    Q_OBJECT
public:
    using PortList = std::function<QStringList()>;

    SerialPort(QString name, std::unique_ptr<SerialBackend> backend, PortList systemPorts,
               QObject* parent = nullptr);
    ~SerialPort() override;

    QString name() const { return name_; }

    void setCommPort(int number);
    int commPort() const { return commPort_; }
    // Device the current port number maps to (empty when none).
    QString device() const;

    bool portOpen() const;
    // Opens the current port number with the current line settings. On failure the port
    // stays closed and *message names the device and the reason.
    bool open(QString* message = nullptr);
    void close();

    void setInBufferSize(int size);
    int inBufferSize() const { return inBufferSize_; }
    bool setSettings(const QString& text);
    void setInputMode(InputMode mode) { inputMode_ = mode; }
    InputMode inputMode() const { return inputMode_; }
    void setInputLen(int length) { inputLen_ = length < 0 ? 0 : length; }
    int inputLen() const { return inputLen_; }
    void setRThreshold(int threshold);
    int rThreshold() const { return rThreshold_; }
    // Input short of the threshold that has waited this long with nothing after it is handed
    // over too (0: never): a stream whose end lost a character would otherwise keep its last
    // unit waiting for characters that never come.
    void setQuietDelivery(int milliseconds) { quietMs_ = milliseconds; }

    int inBufferCount() const;
    void clearInput();
    QByteArray readBytes();
    QString readText();
    // Everything waiting, whatever the read length.
    QString readAllText();
    void write(const QByteArray& bytes);
    void writeText(const QString& text);

    CommEvent commEvent() const { return event_; }
    // Bytes lost to overruns since the last call.
    qint64 takeOverrun();

    SerialBackend* backend() const { return backend_.get(); }

signals:
    // Raised on the event thread, never inside another handler: once per whole
    // threshold's worth of waiting input (every whole block waiting is handed over in the
    // same wake-up, one per call), and once after input was lost to an overrun.
    void onComm();
    // The port was closed because the device failed; the text names device and reason.
    void portFailed(const QString& message);

private:
    void received();
    void pull();
    void scheduleDispatch();
    void dispatch();
    void backendFailed(const QString& reason);
    void quiet();

    QString name_;
    std::unique_ptr<SerialBackend> backend_;
    PortList systemPorts_;
    int commPort_ = 0; // none chosen yet
    int inBufferSize_ = 1024;
    LineSettings line_;
    InputMode inputMode_ = InputMode::Text;
    int inputLen_ = 0;
    int rThreshold_ = 0;
    CommEvent event_ = CommEvent::None;
    bool dispatchPending_ = false;
    int quietMs_ = 0;
    QTimer* quietTimer_ = nullptr;
    QByteArray held_;             // received, not yet read
    qint64 overrun_ = 0;          // bytes lost, not yet taken
    bool overrunPending_ = false; // its comm event not yet raised
    QString openDevice_;
};

} // namespace vemra
