#include "app/form1.h"

#include "platform/serial/qtserialbackend.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace vemra {

Platform Platform::desktop() {
    Platform platform;
    platform.boardPort = std::make_unique<QtSerialBackend>();
    platform.meterPort = std::make_unique<QtSerialBackend>();
    platform.systemPorts = systemSerialPorts;
    return platform;
}

Form1::Form1(Platform platform, QWidget* parent)
    : QMainWindow(parent)
    , dialogs_(platform.dialogs ? std::move(platform.dialogs)
                                : std::make_unique<WindowDialogs>(this))
    , clock_(platform.clock ? std::move(platform.clock) : std::make_unique<SystemClock>())
    , fileSink_(std::move(platform.fileSink))
    , endProgram_(platform.endProgram ? std::move(platform.endProgram)
                                      : std::function<void()>([] { QCoreApplication::exit(0); })) {
    systemPorts_ =
        platform.systemPorts ? platform.systemPorts : SerialPort::PortList(systemSerialPorts);
    MSComm1 =
        new SerialPort(QStringLiteral("board"), std::move(platform.boardPort), systemPorts_, this);
    MSComm2 = new SerialPort(QStringLiteral("multimeter"), std::move(platform.meterPort),
                             systemPorts_, this);
    MSComm1->setObjectName(QStringLiteral("MSComm1"));
    MSComm2->setObjectName(QStringLiteral("MSComm2"));
    journal_ = std::make_unique<JournalWriter>(platform.journal ? &run_ : nullptr, journalFolder(),
                                               std::move(platform.journalOpener));

    meterCheck_ = new QTimer(this);
    meterCheck_->setSingleShot(true);
    connect(meterCheck_, &QTimer::timeout, this, [this] { checkMeterReadings(); });
    buildWindow();
    connectHandlers();
    Form_Load();
    readKeepRawCaptures();
    offerRecovery();
}

Form1::~Form1() = default;

namespace {

// What an ending may wait for the journal's last bytes to reach the disk: a disk that does
// not answer within it must not hold the station open.
constexpr int kEndingWaitMs = 1000;

} // namespace

void Form1::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
        journal_->finish(kEndingWaitMs);
    }
    event->accept();
}

// "File → Exit": the program ends at once, without the closing's stop action; the ports go
// with the window. The journal already holds the run: only its last moment is handed over.
void Form1::ExitProgr_Click() {
    unloaded_ = true;
    journal_->finish(kEndingWaitMs);
    endProgram_();
}

void Form1::portFailed(const QString& message) {
    dialogs().message(QStringLiteral("Warning"), message, MessageIcon::Warning);
}

void Form1::fillPortList(QComboBox* list) {
    const QStringList system = systemPorts_();
    for (int n = 1; n <= 8; ++n) {
        list->addItem(QStringLiteral("Comm%1").arg(n), n);
        const QString device = resolvePortDevice(n, QDir::currentPath(), system);
        list->setItemData(n - 1, device.isEmpty() ? tr("No device for Comm%1").arg(n) : device,
                          Qt::ToolTipRole);
    }
}

} // namespace vemra
