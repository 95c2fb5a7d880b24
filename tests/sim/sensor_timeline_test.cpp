// The status byte the console polls: 1 while the virtual X-ray is on, one
// on/off edge per image, each burst started by the unit's "X1".
#include "tests/sim/sensor_support.h"

namespace sensortest {
namespace {

struct Edge {
    uint32_t lAt;  // ms after the first "X1"
    uint8_t byt;
    bool operator==(const Edge& o) const { return lAt == o.lAt && byt == o.byt; }
};

std::ostream& operator<<(std::ostream& o, const Edge& e) { return o << "{" << e.lAt << "ms:" << int(e.byt) << "}"; }

class EdgeRecorder : public SensorFixture {
protected:
    // Polls every lStep ms for lMs ms, noting each change of the byte.
    void vPoll(uint32_t lMs, uint32_t lStep = 10)
    {
        for (uint32_t t = 0; t < lMs; t += lStep) {
            clock.advance(lStep);
            const uint8_t b = bytPoll();
            if (b != last) edges.push_back({clock.tickCount() - start, b});
            last = b;
        }
    }
    uint32_t start = 0;
    uint8_t last = 0;
    std::vector<Edge> edges;
};

struct TimelineCase {
    const char* name;
    int32_t lImages;
    std::vector<Edge> first;   // edges after the first "X1"
    std::vector<Edge> second;  // after a second command and "X1"
};

class TimelineTest : public EdgeRecorder, public ::testing::WithParamInterface<TimelineCase> {};

// Delay 500 ms, 3000 ms of X-ray per image, 1000 ms between images.
TEST_P(TimelineTest, OneEdgePairPerImageAfterEachX1)
{
    const TimelineCase& c = GetParam();
    vArm(c.lImages, "XrayDelay=500\nXrayOn=3000\nXrayGap=1000");
    start = clock.tickCount();
    vPoll(2000);
    EXPECT_TRUE(edges.empty()) << "no X-ray before X1";
    start = clock.tickCount();
    vStartBurst();
    vPoll(20000);
    EXPECT_EQ(edges, c.first);
    edges.clear();
    start = clock.tickCount();
    vStartBurst();
    vPoll(20000);
    EXPECT_EQ(edges, c.second);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, TimelineTest,
    ::testing::Values(TimelineCase{"one_image", 1, {{500, 1}, {3500, 0}}, {}},
                      TimelineCase{"two_images", 2, {{500, 1}, {3500, 0}, {4500, 1}, {7500, 0}}, {}},
                      TimelineCase{"four_images_in_halves",
                                   4,
                                   {{500, 1}, {3500, 0}, {4500, 1}, {7500, 0}},
                                   {{500, 1}, {3500, 0}, {4500, 1}, {7500, 0}}}),
    [](const ::testing::TestParamInfo<TimelineCase>& i) { return std::string(i.param.name); });

TEST_F(EdgeRecorder, X1WithoutAnExposureCommandStartsNothing)
{
    vArm(1);
    sensor.onUnitReport("X1");
    vPoll(10000);
    EXPECT_TRUE(edges.empty());
}

TEST_F(EdgeRecorder, X1BeforeTheSensorWaitsStartsNothing)
{
    vInit();
    ASSERT_EQ(sensor.setParam(sFilm(film()).c_str(), 1, 10, 50), 0);
    vStartBurst();
    vPoll(10000);
    EXPECT_TRUE(edges.empty());
}

TEST_F(EdgeRecorder, AResentX1DoesNotStartTheSecondHalf)
{
    vArm(4, "XrayDelay=0\nXrayOn=600\nXrayGap=600");
    start = clock.tickCount();
    vStartBurst();
    vPoll(1000);
    sensor.onUnitReport("X1");  // the same report again, during the burst
    vPoll(5000);
    sensor.onUnitReport("X1");  // and after it, with no new exposure command
    vPoll(5000);
    EXPECT_EQ(edges, (std::vector<Edge>{{10, 1}, {600, 0}, {1200, 1}, {1800, 0}}));
}

TEST_F(EdgeRecorder, SlowPollingStillSeesEveryImage)
{
    // Images of 600 ms with 600 ms between them, polled only every 2 s: each
    // image is still reported as one 1 and one 0, in order.
    vArm(2, "XrayDelay=0\nXrayOn=600\nXrayGap=600");
    start = clock.tickCount();
    vStartBurst();
    vPoll(12000, 2000);
    EXPECT_EQ(edges, (std::vector<Edge>{{2000, 1}, {4000, 0}, {6000, 1}, {8000, 0}}));
}

TEST_F(EdgeRecorder, TheTickCountWrappingDuringTheExposureChangesNothing)
{
    clock.set(0xFFFFFFFFu - 2000);
    vArm(1, "XrayDelay=500\nXrayOn=3000");
    start = clock.tickCount();
    vStartBurst();
    vPoll(6000);
    EXPECT_EQ(edges, (std::vector<Edge>{{500, 1}, {3500, 0}}));
}

TEST_F(EdgeRecorder, TheUnitsD0CutsTheImageShortAndDropsTheRest)
{
    vArm(2, "XrayDelay=500\nXrayOn=3000\nXrayGap=1000");
    start = clock.tickCount();
    vStartBurst();
    vPoll(2000);
    sensor.onUnitReport("d0");
    vPoll(10000);
    EXPECT_EQ(edges, (std::vector<Edge>{{500, 1}, {2010, 0}}));
}

TEST_F(EdgeRecorder, ConsoleStopsEndTheXray)
{
    for (const char* stop : {"x0", "r0", "d0"}) {
        edges.clear();
        last = 0;
        vArm(1, "XrayDelay=0\nXrayOn=3000");
        start = clock.tickCount();
        vStartBurst();
        vPoll(1000);
        sensor.onConsoleCommand(stop);
        vPoll(5000);
        EXPECT_EQ(edges, (std::vector<Edge>{{10, 1}, {1010, 0}})) << stop;
    }
}

TEST_F(EdgeRecorder, WithoutXrayTheSensorStaysQuiet)
{
    vArm(1, "SensorNoXray=1");
    vStartBurst();
    vPoll(10000);
    EXPECT_TRUE(edges.empty());
}

TEST_F(SensorFixture, PollFaultFailsOnceTheXrayHasBegun)
{
    vArm(1, "XrayDelay=500\nSensorPollFail=21");
    vStartBurst();
    clock.advance(400);
    uint8_t b = 0;
    EXPECT_EQ(sensor.checkPictStatus(&b), 0);
    clock.advance(200);
    EXPECT_EQ(sensor.checkPictStatus(&b), 21);
}

TEST_F(SensorFixture, PollWithoutAByteIsAParameterError)
{
    vArm(1);
    EXPECT_EQ(sensor.checkPictStatus(nullptr), 3);
}

}  // namespace
}  // namespace sensortest
