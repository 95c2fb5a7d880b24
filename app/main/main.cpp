// The console's entry: one run serves one exposure.
#include <QApplication>

#include "console/service_dialogs.h"
#include "console/startup.h"
#include "dialogs/dialog_runners.h"
#include "resources/pictures.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Every window of the program carries its icon.
    QApplication::setWindowIcon(iconProgram());
    // The service dialogs the main window opens.
    vRegisterTestDialog(vRunFrmTest);
    vRegisterSettingDialog(vRunFrmSetting);
    return iMain();
}
