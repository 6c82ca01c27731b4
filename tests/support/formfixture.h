#pragma once
// A Form1 on loopback ports, a dialog recorder and a fixed clock, in a temporary working
// directory: the window as the operator sees it, with the far ends in the test's hands.
// With it come the window's control types, so a test reaches any control by its name.

#include "app/form1.h"
#include "support/loopbackbackend.h"
#include "support/records.h"

#include <QtTest>
#include <QtWidgets>
#include <sys/fsuid.h>
#include <unistd.h>

namespace vemra::test {

using namespace vemra; // a test's `using namespace vemra::test` brings the station's names too

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A row of states as one text, "1" for each true: compared at once, shown whole on failure.
inline QString flags(std::initializer_list<bool> states) {
    QString out;
    for (bool on : states)
        out += on ? u'1' : u'0';
    return out;
}

// What assistive technology announces for a control: "name|value|description".
inline QString spoken(QObject* control) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
    return a ? a->text(QAccessible::Name) + u'|' + a->text(QAccessible::Value) + u'|' +
                   a->text(QAccessible::Description)
             : QStringLiteral("nothing");
}

// In place of the file being saved, a device that fails as a full disk does: small writes
// are taken into the buffer and fail when flushed, large ones fail at once. Its close forgets
// a failed final flush, as QSaveFile's commit does on this Qt, so only a save that checks the
// flush itself can tell.
class FullDisk : public QFile {
public:
    FullDisk()
        : QFile(QStringLiteral("/dev/full")) {}
    void close() override {
        QFile::close();
        unsetError();
    }
};

class FormFixture {
public:
    // Saves meet `failure`: "full" a full disk from the start, "read-only" a locked folder
    // within saving(); anything else none.
    explicit FormFixture(const QString& failure = {})
        : previousDir_(QDir::currentPath())
        , failure_(failure) {
        if (failure == u"full")
            platform_.fileSink = [](const QString&) { return std::make_unique<FullDisk>(); };
        QDir::setCurrent(dir_.path());
        platform_.boardPort.reset(board = new LoopbackBackend);
        platform_.meterPort.reset(meter = new LoopbackBackend);
        platform_.dialogs.reset(dialogs = new RecordingDialogs);
        platform_.clock.reset(clock = new FixedClock({QDate(2026, 3, 5), QTime(9, 7, 4)}));
        platform_.systemPorts = [] {
            return QStringList{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0"};
        };
    }
    ~FormFixture() {
        form.reset();
        QDir::setCurrent(previousDir_);
    }

    // Before start(): real serial ports may take the loopbacks' place.
    Platform& platform() { return platform_; }

    // Files written before this are there at start-up; what the start-up said is moved
    // from the recorder to startupMessages.
    Form1& start() {
        form = std::make_unique<Form1>(std::move(platform_));
        startupMessages = std::exchange(dialogs->shown, {});
        return *form;
    }

    void writeFile(const QString& name, const QByteArray& content) {
        QFile file(dir() + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    QString dir() const { return dir_.path(); }

    // The lines of the data file "Save" writes at the fixed clock's time.
    QList<QByteArray> dataLines() const {
        return readFile(dir() + QStringLiteral("/VemraData 5-3 9-7-4.txt")).split('\n');
    }

    // Every message shown so far, as "title: text".
    QStringList said() const {
        QStringList out;
        for (const RecordingDialogs::Shown& m : dialogs->shown)
            out << m.title + QStringLiteral(": ") + m.text;
        return out;
    }

    // Runs `save`, for a "read-only" fixture with the folder read-only meanwhile. Root writes
    // through a folder's mode, so a test run as root also takes an unprivileged file-system
    // identity meanwhile (this thread only).
    void saving(const std::function<void()>& save) {
        if (failure_ != u"read-only")
            return save();
        const QFileDevice::Permissions mode = QFile::permissions(dir());
        QFile::setPermissions(dir(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                         QFileDevice::ReadOther | QFileDevice::ExeOther);
        const bool root = ::geteuid() == 0;
        if (root)
            ::setfsuid(65534);
        save();
        if (root)
            ::setfsuid(0);
        QFile::setPermissions(dir(), mode);
    }

    void chooseBoardPort(int number) { form->ComboPort->setCurrentIndex(number - 1); }
    void chooseMeterPort(int number) { form->ComboPort2->setCurrentIndex(number - 1); }

    void enableChannels(int mask) {
        form->CheckEnCH0->setChecked(mask & 1);
        form->CheckEnCH1->setChecked(mask & 2);
        form->CheckEnCH2->setChecked(mask & 4);
    }

    // The meter port and the external channel on, the INIT that starts left aside.
    void meterOn(int port = 1) {
        chooseMeterPort(port);
        form->AgilChann->trigger();
        form->TimerSendFrame->stop();
    }

    // Starts a run on Comm1 with the enabled channels.
    void startRun(int total, int perBlock = 10, bool endless = false) {
        form->CWNumEditTotPoint->setValue(total);
        form->CWNumEditNumPoint->setValue(perBlock);
        form->CheckInf->setChecked(endless);
        chooseBoardPort(1);
        form->CommandSendData->click();
    }

    // The board sends; returns once the station has taken every whole block.
    void send(const QByteArray& sent) {
        board->deliver(sent);
        QTRY_VERIFY(form->MSComm1->inBufferCount() < form->MSComm1->rThreshold());
    }
    // Blocks of ten CH0 records, one at a time, whose raw values count up from `first`.
    void sendBlocks(int first, int records) {
        for (int at = first; at < first + records; at += 10)
            send(block(at, 10));
    }

    // The meter sends; returns once the station has taken every whole unit.
    void sendMeter(const QByteArray& sent) {
        meter->deliver(sent);
        QTRY_VERIFY(form->MSComm2->inBufferCount() < 16);
    }

    LoopbackBackend* board = nullptr;
    LoopbackBackend* meter = nullptr;
    RecordingDialogs* dialogs = nullptr;
    FixedClock* clock = nullptr;
    std::unique_ptr<Form1> form;
    QList<RecordingDialogs::Shown> startupMessages;

private:
    QTemporaryDir dir_;
    QString previousDir_;
    QString failure_;
    Platform platform_;
};

} // namespace vemra::test
