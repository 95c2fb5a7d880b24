// What the console hands the library to send ends with a NUL after its
// length: a library that reads its text argument as a C string stops there.
// Catches a one-byte ACK or NAK reply passed as a lone byte on the stack.
#include <algorithm>

#include "tests/support/console_fixture.h"

namespace {

TEST_F(ConsoleTest, AcksNaksAndFramesReachTheLibraryNulEnded) {
    connectIdle();                                // ACKs the reports s1, r1, T0
    scripted::unit().line += "\x02T0 zz\x03";     // a wrong checksum: NAK
    vTicks(1);
    const std::vector<std::string> wire = scripted::wire();
    EXPECT_GE(std::count(wire.begin(), wire.end(), "> ACK"), 3);
    EXPECT_EQ(std::count(wire.begin(), wire.end(), "> NAK"), 1);
    const std::vector<bool>& nul = scripted::unit().sendsNulEnded;
    ASSERT_EQ(nul.size(), wire.size());
    for (size_t i = 0; i < wire.size(); ++i) EXPECT_TRUE(nul[i]) << i << ": " << wire[i];
}

}  // namespace
