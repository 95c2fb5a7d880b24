// The console's entry: one run serves one exposure.
#include <QApplication>

#include "console/startup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return iMain();
}
