// Reading durations and progress figures out of the encoder's error output.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/encoder_output.h"

using namespace engine;

TEST(ParseDuration, Table) {
    struct Case {
        std::string text;
        int seconds;
    } cases[] = {
        {"  Duration: 00:03:25.50, start: 0.000000", 205},
        {"Duration: 01:00:00.00", 3600},
        {"Duration: 00:00:00.80", 0},       // under a second: like a failure
        {"Duration: 00:00:01.00", 1},
        {"Duration: 123:04:05.00, start", 443045},  // 100 hours or more
        {"no such line at all", 0},
        {"Duration: N/A, start: 0.000000, bitrate: N/A", 0},
        {"Duration: 00:0x:25.00", 0},       // garbled
        {"Duration: 00:03", 0},             // cut short
        {"Duration:00:03:25.00", 0},        // the blank belongs to the marker
        {"Duration: 00:01:00.00\nDuration: 00:02:00.00", 60},  // the first counts
        {"Duration: 99999999999:00:00.00", 0},  // beyond 32 bits of seconds
    };
    for (const Case& c : cases) EXPECT_EQ(ParseDuration(c.text.c_str()), c.seconds) << c.text;
}

TEST(FindProgressFigure, Table) {
    struct Case {
        std::string chunk;
        bool event;
        int seconds;
    } cases[] = {
        {"size=  256kB time=00:02:08.83 bitrate= 128.0kbits/s", true, 128},  // today's form
        {"size=  256kB time=83.45 bitrate=", true, 83},                      // seconds form
        {"time=N/A bitrate=N/A speed=N/A 1.0x", false, 0},
        {"time=00:00:10.00 ... time=00:00:20.00", true, 10},  // only the first counts
        {"size=  256kB time=00:02:08", false, 0},             // no "." after it in this chunk
        {"no figure here. at all", false, 0},
        {"time=12 bitrate=1.5", true, 12},  // no "." of its own: ends at the next one
        {"time=01:00:00.00", true, 3600},
        {"time=123:00:01.50", true, 442801},
        {"time=-00:00:00.02 bitrate", true, 0},
        {"tim", false, 0},
    };
    for (const Case& c : cases) {
        std::string buffer = c.chunk;
        const char* figure = FindProgressFigure(buffer.data());
        EXPECT_EQ(figure != nullptr, c.event) << c.chunk;
        if (figure != nullptr && c.event) {
            EXPECT_EQ(ProgressSeconds(figure), c.seconds) << c.chunk;
        }
    }
}

TEST(AtoiLike, FollowsTheCLibrary) {
    EXPECT_EQ(AtoiLike("75"), 75);
    EXPECT_EQ(AtoiLike(""), 0);
    EXPECT_EQ(AtoiLike("  \t-12abc"), -12);
    EXPECT_EQ(AtoiLike("+7"), 7);
    EXPECT_EQ(AtoiLike("x5"), 0);
}

TEST(ProbeText, BoundedAndStillFindsTheDurationAfterALongHeader) {
    const std::string line = "  Duration: 00:03:25.50, start: 0.000000, bitrate: 128 kb/s\n";
    for (std::size_t header : {0u, 1900u, 2040u, 2047u, 5000u, 100000u}) {
        for (std::size_t chunk : {1u, 7u, 256u}) {
            std::string all = std::string(header, 'h') + line + std::string(3000, 't');
            ProbeText text;
            for (std::size_t pos = 0; pos < all.size(); pos += chunk) {
                text.Append(all.substr(pos, chunk).c_str());
                ASSERT_LT(std::strlen(text.c_str()), ProbeText::kCapacity);
            }
            EXPECT_EQ(ParseDuration(text.c_str()), 205) << header << "/" << chunk;
            EXPECT_TRUE(text.Frozen());
        }
    }
}

TEST(ProbeText, FirstOfTwoDurationLinesAndNoneAtAll) {
    ProbeText text;
    text.Append("Duration: 00:00:07.00, start\n");
    text.Append("Duration: 00:00:09.00, start\n");
    EXPECT_EQ(ParseDuration(text.c_str()), 7);

    ProbeText none;
    for (int i = 0; i < 100; ++i) none.Append(std::string(255, 'x').c_str());
    EXPECT_EQ(ParseDuration(none.c_str()), 0);
    EXPECT_FALSE(none.Frozen());
    none.Clear();
    EXPECT_STREQ(none.c_str(), "");
}
