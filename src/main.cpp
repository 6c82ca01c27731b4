#include "app/form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    vemra::Form1 window(vemra::Platform::desktop());
    window.show();
    return app.exec();
}
