// The start-up sequence up to the main window, and the exit status of a
// program that did not start.
#include <gmock/gmock.h>

#include <QApplication>
#include <QFile>

#include "app/app_state.h"
#include "console/startup.h"
#include "tests/console/console_fixture.h"

using ::testing::HasSubstr;

namespace {
int iMainWindows() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) n += dynamic_cast<frmMain*>(w) != nullptr ? 1 : 0;
    return n;
}
}  // namespace

TEST_F(ConsoleTest, WithoutSettingsFileTheProgramEndsSilently) {
    EXPECT_EQ(iMain(), EXIT_NOT_STARTED);
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(iMainWindows(), 0);
}

TEST_F(ConsoleTest, WithoutSaveFileNameTheReaderSaysSo) {
    keys_.erase("SaveFileName");
    vWriteSettings();
    EXPECT_EQ(iMain(), EXIT_NOT_STARTED);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "Not found the SaveFileName section.");
    EXPECT_EQ(boxes_[0].hOwner, nullptr);
}

TEST_F(ConsoleTest, WithoutTheLibraryTheMessageNamesTheFile) {
    vWriteSettings();
    EXPECT_EQ(iMain(), EXIT_NOT_STARTED);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_THAT(boxes_[0].text, HasSubstr(progDir_->path().toStdString() + "/libZyrPan2.so"));
    EXPECT_EQ(boxes_[0].title, "Tolvek E");
    EXPECT_EQ(iMainWindows(), 0);
}

TEST_F(ConsoleTest, StartValuesAreSetBeforeTheSettingsAreRead) {
    App.g_lTestMode = 1;
    App.g_lHalfMode = 1;
    App.g_lCephPlace = 0;
    App.g_lElecPP[3] = 1;
    EXPECT_EQ(iMain(), EXIT_NOT_STARTED);  // no settings file
    EXPECT_EQ(App.g_lTestMode, 0);
    EXPECT_EQ(App.g_lHalfMode, 0);
    EXPECT_EQ(App.g_lCephPlace, 2);
    EXPECT_EQ(App.g_lElecPP[3], 247);
}
