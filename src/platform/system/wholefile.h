#pragma once
// Files are written whole or not at all: the bytes go to a temporary file beside the
// target, which takes the target's name only once every byte is on disk. A failure at any
// step — a full disk often shows only when the last bytes are flushed — leaves the target
// as it was and keeps the system's reason for the operator.

#include <QByteArrayView>
#include <QFileDevice>
#include <QString>
#include <functional>
#include <memory>

namespace vemra {

// Makes the device that receives a file's bytes: QSaveFile in the program; tests put a
// device in its place that fails as a full disk or a missing folder does.
using FileSink = std::function<std::unique_ptr<QFileDevice>(const QString& path)>;

std::unique_ptr<QFileDevice> saveFileSink(const QString& path);

class WholeFile {
public:
    WholeFile(const FileSink& sink, const QString& path);
    ~WholeFile();

    bool open();
    bool write(QByteArrayView bytes);
    // Flushes, checks that nothing failed on the way, and gives the bytes the target's name.
    bool commit();
    // Why the last step failed, in the system's words.
    QString error() const { return error_; }

private:
    bool fail();

    std::unique_ptr<QFileDevice> device_;
    QString error_;
};

} // namespace vemra
