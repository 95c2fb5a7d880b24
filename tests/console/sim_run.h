// Whole exposures on our own library linked in: the embedded unit and sensor
// on the console's fake clock, quick enough for a test.
#pragma once
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdlib>

#include "app/app_state.h"
#include "sensor/sensor_steps.h"
#include "sim/library.h"
#include "tests/support/console_fixture.h"
#include "tests/support/sim_table.h"

class SimRunTest : public ConsoleTest {
protected:
    void TearDown() override {
        frm_.reset();
        sim::vResetLibrary();
        ConsoleTest::TearDown();
    }
    // The staged film files beside the program, our library under the name
    // sLib, and the quick unit's [ZyrPan2] keys followed by sKeys ("K=v ...").
    void vUseSim(const QString& sKeys, const std::string& sLib = {}) {
        ASSERT_TRUE(QFile::link(QString(std::getenv("ZYR_STAGE_DIR")) + "/FILM", progDir_->path() + "/FILM") &&
                    QDir(progDir_->path() + "/FILM/").exists()) << "no staged FILM folder: run through ctest";
        sim::vResetLibrary();
        vSetZyrLib(simTable(), sLib);
        const QString sAll = "AnswerDelay=20 MoveTime=1000 ReadyTime=200 HandSwitchDelay=300 XrayDelay=100 XrayOn=400 "
                             "XrayGap=200 CoolTime=0 ImageBinning=4 " + sKeys;
        for (const QString& kv : sAll.split(' ', Qt::SkipEmptyParts))
            vSetKey(kv.section('=', 0, 0).toStdString(), kv.section('=', 1).toStdString(), "ZyrPan2");
    }
    // Connects, waits for the unit at its origin, READY (again for the second
    // TMJ half) until the window closes.
    void vExpose() {
        load().Form_Activate();
        frm_->tmStart->setInterval(3600 * 1000);
        for (int i = 0; i < 3000 && !(App.g_lStat == 0 && App.g_lMoveKind != 0); ++i) vTicks(1);
        frm_->cmdStart_Click();
        for (int i = 0; i < 5000 && frm_->isLoaded(); ++i) {
            vTicks(1);
            if (App.g_lStat == 3 && App.g_lPictHalf == 1) frm_->cmdStart_Click();
        }
    }
};
