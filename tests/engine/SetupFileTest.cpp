#include <gtest/gtest.h>

#include "SetupFile.h"

namespace {

// The five lines as the front end writes them, blanks in the directory name
// included, give the four paths whole.  Catches paths cut at a blank.
TEST(SetupFile, ReadsTheFourPaths)
{
    const SetupReading reading = ReadSetupFile(
        "HD\r\n/home/a b/kalcoded.daf\r\n/home/a b/notused\r\n/home/a b/jannaf.daf\r\n/home/a b/tharsel.out\r\n");
    ASSERT_TRUE(reading.ok());
    EXPECT_EQ(reading.paths.ingredientDatabase, "/home/a b/kalcoded.daf");
    EXPECT_EQ(reading.paths.notUsed, "/home/a b/notused");
    EXPECT_EQ(reading.paths.thermoData, "/home/a b/jannaf.daf");
    EXPECT_EQ(reading.paths.resultsFile, "/home/a b/tharsel.out");
}

// A setup file without its first line or with lines missing is refused at
// the line that is wrong.  Catches reading an empty path as a file name.
TEST(SetupFile, MalformedFileNamesTheLine)
{
    EXPECT_EQ(ReadSetupFile("").problem->line, 1);
    EXPECT_EQ(ReadSetupFile("XX\na\nb\nc\nd\n").problem->line, 1);
    EXPECT_EQ(ReadSetupFile("HD\na\nb\n").problem->line, 4);
    EXPECT_EQ(ReadSetupFile("HD\na\n\nc\nd\n").problem->line, 3);
}

}  // namespace
