#include "platform/system/wholefile.h"

#include <QSaveFile>

namespace vemra {

std::unique_ptr<QFileDevice> saveFileSink(const QString& path) {
    return std::make_unique<QSaveFile>(path);
}

namespace {

bool isUnknown(const QString& reason) {
    return reason.isEmpty() || reason == QLatin1String("Unknown error");
}

} // namespace

WholeFile::WholeFile(const FileSink& sink, const QString& path)
    : device_((sink ? sink : FileSink(saveFileSink))(path)) {}

// An uncommitted QSaveFile removes its temporary file when it goes.
WholeFile::~WholeFile() = default;

bool WholeFile::fail() {
    // A short write to the file sets no reason; writing what is left again brings the
    // system's own.
    if (device_->error() == QFileDevice::NoError || isUnknown(device_->errorString()))
        device_->flush();
    error_ = device_->errorString();
    if (isUnknown(error_))
        error_ = QStringLiteral("the system did not accept every byte");
    if (auto* save = qobject_cast<QSaveFile*>(device_.get()))
        save->cancelWriting();
    return false;
}

bool WholeFile::open() {
    return device_->open(QIODevice::WriteOnly) || fail();
}

bool WholeFile::write(QByteArrayView bytes) {
    // A short write sets no error: the rest is written again, and a device that then takes
    // nothing says why ("No space left on device").
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = device_->write(bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            return fail();
        done += written;
    }
    return true;
}

bool WholeFile::commit() {
    // QSaveFile::commit() reports success when only its own final flush failed, leaving an
    // empty file in place of the old one: the flush is checked here first.
    if (!device_->flush() || device_->error() != QFileDevice::NoError)
        return fail();
    if (auto* save = qobject_cast<QSaveFile*>(device_.get()))
        return save->commit() || fail();
    device_->close();
    return device_->error() == QFileDevice::NoError || fail();
}

} // namespace vemra
