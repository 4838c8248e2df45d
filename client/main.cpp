#include "client/Kandorel.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Kandorel window;
    window.show();
    return app.exec();
}
