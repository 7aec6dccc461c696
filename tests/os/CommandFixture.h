#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

#include "CommandInterpreter.h"

namespace fs = std::filesystem;

inline std::string ReadWholeFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteWholeFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Files of this process may grow to at most BYTES while it lives: a full
// disk, as far as the writer can tell.  Writing past it fails with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limited = m_previous;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous {};
    void (*m_previousHandler)(int) = SIG_DFL;
};

// Each test runs in a working directory of its own, "work dir" (a blank in the
// path on purpose), under a root that also holds:
//   bin/        first on PATH; fakes of the programs a shell would start if a
//               command line ever reached one (id, touch, b.inp, b.out, ...)
//   starts.log  one line per program started, written by every fake:
//               its name, then each argument in brackets
// PATH becomes bin:/usr/bin:/bin, so nothing else of the machine is found.
class CommandFixture : public testing::Test {
protected:
    void SetUp() override
    {
        m_previousDirectory = fs::current_path();
        const char* path = std::getenv("PATH");
        m_previousPath = path ? path : "";
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        std::string suite = test->test_suite_name();
        std::replace(suite.begin(), suite.end(), '/', '-');  // "Names/Suite" of a table is one folder
        m_root = fs::temp_directory_path() / ("wtharsel-" + suite + "-" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        m_work = m_root / "work dir";
        m_bin = m_root / "bin";
        m_log = m_root / "starts.log";
        fs::create_directories(m_work);
        fs::create_directories(m_bin);
        for (const char* name : {"id", "touch", "b.inp", "b.out", "x.inp", "x.out", "rm", "sh", "copy"})
            WriteRecorder(m_bin / name, name);
        ::setenv("PATH", (m_bin.string() + ":/usr/bin:/bin").c_str(), 1);
        fs::current_path(m_work);
    }

    void TearDown() override
    {
        fs::current_path(m_previousDirectory);
        ::setenv("PATH", m_previousPath.c_str(), 1);
        SetTextViewerProgram("");
        fs::remove_all(m_root);
    }

    // An executable /bin/sh script at PATH.
    static void WriteScript(const fs::path& path, const std::string& body)
    {
        WriteWholeFile(path, "#!/bin/sh\n" + body);
        fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    }

    // The script line that appends "NAME [arg] [arg]..." to the start log.
    std::string LogStart(const std::string& name) const
    {
        return "{ printf '%s' '" + name + "'; for a in \"$@\"; do printf ' [%s]' \"$a\"; done; printf '\\n'; } >> '"
            + m_log.string() + "'\n";
    }

    // A fake that only records that it started.
    void WriteRecorder(const fs::path& path, const std::string& name) const
    {
        WriteScript(path, LogStart(name));
    }

    // The fake engine: records its start (and whether the deck's copy was
    // there), then writes the report the deck's first line names, holding the
    // deck it read.
    void WriteFakeEngine(const std::string& more = "") const
    {
        WriteScript(m_work / "tharsel",
                    LogStart("tharsel") +
                    "name=$(head -n 1 input.dat | tr -d '\\r' | sed 's/\\.out$//; s/ *$//')\n"
                    "if [ -f \"$name.inp\" ]; then echo \"tharsel saw $name.inp\" >> '" + m_log.string() + "'; fi\n"
                    "{ echo \"report of $name\"; cat input.dat; } > \"$name.out\"\n" + more);
    }

    // The fake viewer: records its start and whether the report it was asked
    // for was there.
    void WriteFakeViewer(const fs::path& path, const std::string& name = "notepad") const
    {
        WriteScript(path, LogStart(name) +
                    "if [ -f \"$*\" ]; then echo \"" + name + " saw $*\" >> '" + m_log.string() + "'; fi\n");
    }

    std::vector<std::string> Starts() const
    {
        std::vector<std::string> lines;
        std::ifstream in(m_log);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    // The names in the working directory, hidden ones too.
    std::set<std::string> Files() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_work))
            names.insert(entry.path().filename().string());
        return names;
    }

    fs::path m_root;
    fs::path m_work;
    fs::path m_bin;
    fs::path m_log;

private:
    fs::path m_previousDirectory;
    std::string m_previousPath;
};
