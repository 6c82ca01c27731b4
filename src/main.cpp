#include "app/form1.h"
#include "platform/system/endingsignals.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    vemra::Form1 window(vemra::Platform::desktop());
    vemra::closeOnEndingSignals(&window);
    window.show();
    return app.exec();
}
