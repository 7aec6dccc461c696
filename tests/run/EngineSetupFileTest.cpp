#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "EngineSetupFile.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Expected(const std::string& dir)
{
    return "HD\n" + dir + "/kalcoded.daf\n" + dir + "/notused\n" + dir + "/jannaf.daf\n" + dir + "/tharsel.out\n";
}

// Runs each test in a directory of its own and returns to where it was.
class EngineSetupFile : public testing::Test {
protected:
    void SetUp() override
    {
        m_previous = fs::current_path();
        m_root = fs::temp_directory_path() / ("wtharsel-setup-" + std::to_string(::getpid()));
        fs::create_directories(m_root);
    }
    void TearDown() override
    {
        fs::current_path(m_previous);
        fs::remove_all(m_root);
    }
    fs::path Enter(const std::string& name)
    {
        const fs::path dir = m_root / name;
        fs::create_directories(dir);
        fs::current_path(dir);
        return dir;
    }

    fs::path m_previous;
    fs::path m_root;
};

}  // namespace

// Blanks in the directory must reach the engine unchanged, without quotes.
TEST_F(EngineSetupFile, NamesTheEngineFilesInADirectoryWithBlanks)
{
    const fs::path dir = Enter("my work dir");
    WriteEngineSetupFile();
    EXPECT_EQ(ReadFile(dir / "setup.kal"), Expected(dir.string()));
}

// A second start must not append a second set of lines.
TEST_F(EngineSetupFile, SecondCallRewritesTheFile)
{
    const fs::path dir = Enter("twice");
    std::ofstream(dir / "setup.kal") << "an older, longer file that must go away\nwith two lines\n";
    WriteEngineSetupFile();
    WriteEngineSetupFile();
    EXPECT_EQ(ReadFile(dir / "setup.kal"), Expected(dir.string()));
}

// At the root the directory text ends in the separator already, so it doubles.
TEST_F(EngineSetupFile, AtTheRootTheSeparatorDoubles)
{
    const bool existed = fs::exists("/setup.kal");
    ASSERT_FALSE(existed) << "/setup.kal is in the way";
    fs::current_path("/");
    WriteEngineSetupFile();
    const std::string text = ReadFile("/setup.kal");
    fs::remove("/setup.kal");
    EXPECT_EQ(text, "HD\n//kalcoded.daf\n//notused\n//jannaf.daf\n//tharsel.out\n");
}

// A directory path that does not fit must not be cut and written.
TEST_F(EngineSetupFile, NothingWrittenWhenTheDirectoryIsTooLong)
{
    fs::path dir = Enter("deep");
    while (dir.string().size() < 300)
        dir /= std::string(40, 'd');
    fs::create_directories(dir);
    fs::current_path(dir);
    WriteEngineSetupFile();
    EXPECT_FALSE(fs::exists(dir / "setup.kal"));
}

// A setup.kal that cannot be created (here a directory of that name) is passed
// over without a crash and without touching anything else.
TEST_F(EngineSetupFile, NothingWrittenWhenTheFileCannotBeCreated)
{
    const fs::path dir = Enter("blocked");
    fs::create_directory(dir / "setup.kal");
    WriteEngineSetupFile();
    EXPECT_TRUE(fs::is_directory(dir / "setup.kal"));
    EXPECT_TRUE(fs::is_empty(dir / "setup.kal"));
}
