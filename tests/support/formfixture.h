#pragma once
// A Form1 on loopback ports, a dialog recorder and a fixed clock, in a temporary working
// directory: the window as the operator sees it, with the far ends in the test's hands.

#include "app/form1.h"
#include "platform/loopbackbackend.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace vemra::test {

class FormFixture {
public:
    explicit FormFixture(QStringList systemPorts = {QStringLiteral("/dev/ttyS0"),
                                                    QStringLiteral("/dev/ttyS1"),
                                                    QStringLiteral("/dev/ttyUSB0")}) {
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        prepare(std::move(systemPorts));
    }
    ~FormFixture() {
        form.reset();
        QDir::setCurrent(previousDir_);
    }

    // Builds the window; files placed in dir() before this are there at start-up. What
    // the start-up said is kept in startupMessages and cleared from the recorder.
    Form1& start() {
        form = std::make_unique<Form1>(std::move(platform_));
        startupMessages = dialogs->shown;
        dialogs->shown.clear();
        return *form;
    }

    // Writes a file into the working directory.
    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(dir() + u'/' + name);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    QList<RecordingDialogs::Shown> startupMessages;

    QString dir() const { return dir_.path(); }

    // The operator chooses "CommN" in the board port list.
    void chooseBoardPort(int number) { form->ComboPort->setCurrentIndex(number - 1); }

    LoopbackBackend* board = nullptr;
    LoopbackBackend* meter = nullptr;
    RecordingDialogs* dialogs = nullptr;
    FixedClock* clock = nullptr;
    std::unique_ptr<Form1> form;

private:
    void prepare(QStringList systemPorts) {
        auto boardPort = std::make_unique<LoopbackBackend>();
        auto meterPort = std::make_unique<LoopbackBackend>();
        auto recorder = std::make_unique<RecordingDialogs>();
        auto fixed = std::make_unique<FixedClock>(QDateTime(QDate(2026, 3, 5), QTime(9, 7, 4)));
        board = boardPort.get();
        meter = meterPort.get();
        dialogs = recorder.get();
        clock = fixed.get();
        platform_.boardPort = std::move(boardPort);
        platform_.meterPort = std::move(meterPort);
        platform_.dialogs = std::move(recorder);
        platform_.clock = std::move(fixed);
        platform_.systemPorts = [systemPorts] { return systemPorts; };
    }

    QTemporaryDir dir_;
    QString previousDir_;
    Platform platform_;
};

} // namespace vemra::test
