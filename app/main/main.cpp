// The console's entry: one run serves one exposure.
#include <QApplication>
#include <cstdio>

#include "app/qt_translations.h"
#include "app/version.h"
#include "console/dicom_start.h"
#include "console/service_dialogs.h"
#include "console/startup.h"
#include "dialogs/dialog_runners.h"
#include "resources/pictures.h"

int main(int argc, char** argv) {
    // Asked for the version only: no settings, no library, no window.
    if (booVersionAsked(argc, argv)) {
        std::printf("%s\n", sVersionLine().c_str());
        return 0;
    }
    // The patient keys the imaging program passes, read before anything else.
    vNotePatientOptions(argc, argv);
    if (const int iStatus = iRefusedPatientOptions(); iStatus != 0) return iStatus;
    QApplication app(argc, argv);
    (void)booInstallQtTranslations();
    // Every window of the program carries its icon.
    QApplication::setWindowIcon(iconProgram());
    // The service dialogs the main window opens.
    vRegisterTestDialog(vRunFrmTest);
    vRegisterSettingDialog(vRunFrmSetting);
    return iMain();
}
