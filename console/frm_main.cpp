// The main window's construction, its load handler and what the link and
// the sensor steps ask of it.
#include "console/frm_main.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include "app/app_state.h"
#include "app/settings.h"
#include "console/exposure_record.h"
#include "console/save_targets.h"
#include "console/image_spool.h"
#include "platform/program_folder.h"
#include "platform/single_instance.h"
#include "sensor/sensor_steps.h"
#include "ui/look.h"
#include "ui/twips.h"

frmMain::frmMain() : ui::Form(nullptr) {
    vCreateControls();
    vConnectHandlers();
    vSetMainWindow(this);
}

frmMain::~frmMain() {
    vSetBusyPointer(false);
    if (booHasMainWindow() && &mainWindow() == this) vSetMainWindow(nullptr);
}

void frmMain::Form_Load() {
    // A second console ends here, silently: the unit talks to one console
    // at a time. Consoles are told apart by their settings file, which names
    // the unit, whoever runs them: two installations (or two test stages)
    // with files of their own do not shut each other out.
    if (platform::booPrevInstance(sSettingsPath())) {
        m_booSecondCopy = true;
        f.m_BooLoad = 0;
        return;
    }
    // No X-ray for an image that could not be saved.
    if (!booSaveTargetsReady()) {
        f.m_BooLoad = 0;
        return;
    }
    setWidth(static_cast<int32_t>(1024 * ui::dTwipsPerPixelX()));
    setHeight(static_cast<int32_t>(768 * ui::dTwipsPerPixelY()));
    setCaption(f.m_sBaseTitle);
    vCenterForm(*this);
    f.m_BooLoad = lInitMain() == 0 ? -1 : 0;
}

void frmMain::vTimerEnabled(bool booEnabled) { tmStart->setEnabled(booEnabled); }
bool frmMain::booTimerEnabled() { return tmStart->enabled(); }

void frmMain::vSetCaption(const std::string& sCaption) { setCaption(sCaption); }

void frmMain::vSetDebugVisible(bool booVisible) { cmdDebug->setVisible(booVisible); }
bool frmMain::booDebugVisible() { return cmdDebug->visible(); }
bool frmMain::booTestMode() { return cmdDebug->visible(); }

void frmMain::vSetResetEnabled(bool booEnabled) { cmdReset->setEnabled(booEnabled); }
bool frmMain::booResetEnabled() { return cmdReset->enabled(); }

void frmMain::vSetBusyPointer(bool booBusy) {
    // One hourglass at a time, always taken back.
    if (booBusy == m_booBusy) return;
    m_booBusy = booBusy;
    if (booBusy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

void frmMain::vDoEvents() { QCoreApplication::processEvents(); }

int32_t frmMain::l_SensMduInitProc() { return ::l_SensMduInitProc(*this); }
int32_t frmMain::l_SenceProc1() { return ::l_SenceProc1(*this); }
int32_t frmMain::l_CheckPictProc(bool booInit) { return ::l_CheckPictProc(*this, booInit); }
int32_t frmMain::l_GetImageProc(const std::string& sFolder) {
    const int32_t lRet = ::l_GetImageProc(*this, sFolder);
    // The record follows the bitmap it describes.
    if (lRet == 0 && App.g_lSaveInfo == 1) vWriteExposureRecord(hWnd());
    if (lRet == 0) vSpoolImage(hWnd());
    return lRet;
}

bool frmMain::booBeforeBitmapSave() { return booPrepareBitmapSave(hWnd()); }

void frmMain::vUnload() { Unload(ui::vbFormCode); }
