#include "CommandInterpreter.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

bool EqualsIgnoringCase(const std::string& a, const char* b)
{
    const std::size_t length = std::strlen(b);
    if (a.size() != length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool IsExecutableFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The working directory first, then each directory of PATH.
std::string FindProgram(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return IsExecutableFile(name) ? name : std::string();
    if (IsExecutableFile("./" + name))
        return "./" + name;
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string dir = dirs.substr(start, end - start);
        if (!dir.empty() && IsExecutableFile(dir + "/" + name))
            return dir + "/" + name;
        start = end + 1;
    }
    return {};
}

CommandOutcome Failure(std::string report)
{
    return CommandOutcome{false, std::move(report)};
}

// Makes DESTINATION a copy of SOURCE.  The copy is written beside the
// destination and renamed over it, so a copy that fails half-way leaves an
// existing destination as it was.
CommandOutcome Copy(const std::string& source, const std::string& destination)
{
    std::FILE* in = std::fopen(source.c_str(), "rb");
    if (in == nullptr)
        return Failure("copy " + source + " " + destination + ": cannot open " + source + ": "
                       + std::strerror(errno));
    const std::string temporary = destination + ".copying";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (out == nullptr) {
        const int error = errno;
        std::fclose(in);
        return Failure("copy " + source + " " + destination + ": cannot create " + destination + ": "
                       + std::strerror(error));
    }
    char buffer[65536];
    bool ok = true;
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        if (std::fwrite(buffer, 1, got, out) != got) {
            ok = false;
            break;
        }
    }
    ok = ok && !std::ferror(in);
    std::fclose(in);
    ok = (std::fclose(out) == 0) && ok;
    if (!ok || std::rename(temporary.c_str(), destination.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        return Failure("copy " + source + " " + destination + ": the copy failed: " + std::strerror(error));
    }
    std::printf("        1 file(s) copied.\n");
    return {};
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine)
{
    std::vector<std::string> words;
    std::size_t p = 0;
    while (p < commandLine.size()) {
        while (p < commandLine.size() && commandLine[p] == ' ')
            ++p;
        const std::size_t start = p;
        while (p < commandLine.size() && commandLine[p] != ' ')
            ++p;
        if (p > start)
            words.push_back(commandLine.substr(start, p - start));
    }
    return words;
}

CommandOutcome RunCommand(const std::string& commandLine)
{
    const std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty())
        return {};
    if (EqualsIgnoringCase(words[0], "copy")) {
        if (words.size() != 3)
            return Failure(commandLine + ": copy takes a source and a destination");
        return Copy(words[1], words[2]);
    }
    const std::string program = FindProgram(words[0]);
    if (program.empty())
        return Failure(words[0] + ": no such program in the working directory or on PATH");

    std::vector<char*> argv;
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (error != 0)
        return Failure(words[0] + ": cannot be started: " + std::strerror(error));
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        return Failure(words[0] + ": ended with status " + std::to_string(WEXITSTATUS(status)));
    if (WIFSIGNALED(status))
        return Failure(words[0] + ": killed by signal " + std::to_string(WTERMSIG(status)));
    return {};
}
