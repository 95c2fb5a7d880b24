// The unit's error report "e" + n at the edges of the error table and far
// beyond it: the status line shows the row, or the fallback text of an
// unknown number, and the number never overflows on its way there.
#include "app/app_state.h"
#include "tests/support/console_fixture.h"

namespace {

TEST_F(ConsoleTest, ErrorReportAtAndBeyondTheTableEdges) {
    struct Row {
        const char* sReport;
        const char* sShown;
    };
    const Row rows[] = {
        {"e100", "Not defined error e100"},               // last row of the table
        {"e101", "Error : LoadResString(21100)"},         // first number past it
        {"e2147462648", "Error : LoadResString(2147483647)"},  // text number just fits
        {"e2147462649", "Error : LoadResString(2147483647)"},  // one more would overflow
        {"e2147483647", "Error : LoadResString(2147483647)"},
        {"e99999999999999999999", "Error : LoadResString(2147483647)"},
    };
    frmMain& frm = connectIdle();
    for (const Row& r : rows) {
        scripted::vQueueReport(r.sReport);
        vTicks(1);
        EXPECT_EQ(App.g_lStat, 9) << r.sReport;
        EXPECT_EQ(frm.spnlStat->caption().value_or(""), r.sShown) << r.sReport;
    }
}

}  // namespace
