#include "platform/wholefile.h"

#include <QSaveFile>

namespace vemra {

std::unique_ptr<QFileDevice> saveFileSink(const QString& path) {
    return std::make_unique<QSaveFile>(path);
}

WholeFile::WholeFile(const FileSink& sink, const QString& path)
    : device_((sink ? sink : FileSink(saveFileSink))(path)) {}

// An uncommitted QSaveFile removes its temporary file when it goes.
WholeFile::~WholeFile() = default;

bool WholeFile::fail() {
    error_ = device_->errorString();
    if (error_.isEmpty() || error_ == QLatin1String("Unknown error"))
        error_ = QStringLiteral("the system did not accept every byte");
    if (auto* save = qobject_cast<QSaveFile*>(device_.get()))
        save->cancelWriting();
    return false;
}

bool WholeFile::open() {
    return device_->open(QIODevice::WriteOnly) || fail();
}

bool WholeFile::write(QByteArrayView bytes) {
    return device_->write(bytes.data(), bytes.size()) == bytes.size() || fail();
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
