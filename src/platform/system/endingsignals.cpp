#include "platform/system/endingsignals.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace vemra {

namespace {

int wakeUp[2] = {-1, -1};

void ending(int) {
    const char byte = 1;
    // Nothing else is safe in a signal handler; a full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t written = ::write(wakeUp[1], &byte, 1);
}

} // namespace

void closeOnEndingSignals(QWidget* window) {
    if (wakeUp[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeUp) != 0)
        return;
    auto* notifier = new QSocketNotifier(wakeUp[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window,
                     [notifier, target = QPointer<QWidget>(window)] {
                         char bytes[16];
                         [[maybe_unused]] const ssize_t read =
                             ::read(wakeUp[0], bytes, sizeof bytes);
                         notifier->setEnabled(false);
                         if (target)
                             target->close();
                     });
    struct sigaction action {};
    action.sa_handler = ending;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

} // namespace vemra
