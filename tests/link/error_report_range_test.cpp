// The unit's error report "e" + n at the edges of the error table and far
// beyond it: the status line shows the row, or the fallback text of an
// unknown number, and the number never overflows on its way there.
#include <utility>

#include "tests/support/console_fixture.h"

namespace {

TEST_F(ConsoleTest, ErrorReportAtAndBeyondTheTableEdges) {
    const std::string sPastInt = "Error : LoadResString(2147483647)";
    const std::pair<std::string, std::string> rows[] = {
        {"e100", "Not defined error e100"},        // last row of the table
        {"e101", "Error : LoadResString(21100)"},  // first number past it
        {"e2147462648", sPastInt},                 // its text number just fits 32 bits
        {"e2147462649", sPastInt},                 // one more would overflow
        {"e2147483647", sPastInt},
        {"e99999999999999999999", sPastInt},
    };
    frmMain& frm = connectIdle();
    for (const auto& [sReport, sShown] : rows) {
        scripted::vQueueReport(sReport);
        vTicks(1);
        EXPECT_EQ(frm.spnlStat->caption().value_or(""), sShown) << sReport;
    }
}

}  // namespace
