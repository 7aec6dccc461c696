#include "CommandInterpreter.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string g_textViewerProgram;  // empty: the one beside the executable

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(const std::string& a, const char* b)
{
    const std::size_t length = std::strlen(b);
    if (a.size() != length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

bool IsRegularFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsExecutableFile(const std::string& path)
{
    return IsRegularFile(path) && ::access(path.c_str(), X_OK) == 0;
}

bool IsDirectory(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string ErrorText(int error)
{
    return std::strerror(error);
}

// Where a command word leads: the program to start, or else the first file of
// that name that is not executable (so the report can say why it won't start).
struct Lookup {
    std::string program;
    std::string notExecutable;
};

void Consider(Lookup& lookup, const std::string& path)
{
    if (!lookup.program.empty() || !IsRegularFile(path))
        return;
    if (::access(path.c_str(), X_OK) == 0)
        lookup.program = path;
    else if (lookup.notExecutable.empty())
        lookup.notExecutable = path;
}

std::string SearchPath()
{
    if (const char* path = std::getenv("PATH"))
        return path;
    char fallback[256] = "";
    ::confstr(_CS_PATH, fallback, sizeof fallback);
    return fallback;
}

// The working directory first, then each directory of PATH.
Lookup LookUp(const std::string& name)
{
    Lookup lookup;
    if (name.find('/') != std::string::npos) {
        Consider(lookup, name);
        return lookup;
    }
    Consider(lookup, "./" + name);
    const std::string dirs = SearchPath();
    std::size_t start = 0;
    while (start <= dirs.size() && lookup.program.empty()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string dir = dirs.substr(start, end - start);
        if (!dir.empty())
            Consider(lookup, dir + "/" + name);
        start = end + 1;
    }
    return lookup;
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t wrote = ::write(fd, data, size);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        data += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return true;
}

// Our own lines go straight to the descriptor, after whatever stdio holds, so
// they stay in order with the output of the programs we pass through.
void PrintLine(int fd, const std::string& text)
{
    std::fflush(nullptr);
    const std::string line = text + "\n";
    WriteAll(fd, line.data(), line.size());
}

// The last kMaxReportedBytes of a line, not starting inside a character.
std::string EndOfLongLine(const std::string& line)
{
    std::size_t cut = line.size() - kMaxReportedBytes;
    while (cut < line.size() && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
        ++cut;
    return line.substr(cut);
}

// The last lines of what a command printed, short enough for a message box.
std::string OutputTail(const std::string& output)
{
    std::vector<std::string> lines(1);
    for (char c : output) {
        if (c == '\n')
            lines.emplace_back();
        else if (c != '\r')
            lines.back() += c;
    }
    while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string::npos)
        lines.pop_back();
    std::size_t first = lines.size();
    std::size_t bytes = 0;
    while (first > 0 && lines.size() - first < kMaxReportedLines && bytes + lines[first - 1].size() <= kMaxReportedBytes) {
        --first;
        bytes += lines[first].size() + 1;
    }
    std::string tail = first > 0 ? "...\n" : "";
    if (first == lines.size() && first > 0)
        return tail + EndOfLongLine(lines.back());  // one line longer than a report holds
    for (std::size_t i = first; i < lines.size(); ++i)
        tail += lines[i] + (i + 1 < lines.size() ? "\n" : "");
    return tail;
}

CommandOutcome Failure(CommandOutcome::Result result, const std::string& headline, std::string output = {},
                       int exitStatus = 0)
{
    PrintLine(STDERR_FILENO, headline);
    CommandOutcome outcome;
    outcome.succeeded = false;
    outcome.result = result;
    outcome.exitStatus = exitStatus;
    outcome.report = headline;
    const std::string tail = OutputTail(output);
    if (!tail.empty())
        outcome.report += "\n\nIt printed:\n" + tail;
    outcome.output = std::move(output);
    return outcome;
}

// The start of every report: which command it is about.
std::string CommandSays(const std::string& commandLine)
{
    return "Command \"" + commandLine + "\": ";
}

// ---- copy --------------------------------------------------------------

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A new, empty file in DIRECTORY, with a short name nobody else uses.
int CreateTemporary(const std::string& directory, std::string& name)
{
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = directory + "/.wtharsel-copy-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Copies everything SOURCE holds to OUT; the error that stopped it, or 0.
int CopyBytes(int source, int out, long long& bytes)
{
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(source, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        if (!WriteAll(out, buffer, static_cast<std::size_t>(got)))
            return errno != 0 ? errno : EIO;
        bytes += got;
    }
}

struct CopyError {
    std::string what;  // "cannot read input.dat: ..." and the like
};

// Makes DESTINATION a copy of SOURCE.  The copy is written beside the
// destination and renamed over it, so a copy that fails half-way leaves an
// existing destination as it was.
bool CopyFile(const std::string& source, std::string destination, long long& bytes, CopyError& error)
{
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        error.what = "cannot open " + source + ": " + ErrorText(errno);
        return false;
    }
    if (IsDirectory(source)) {
        ::close(in);
        error.what = source + " is a folder, not a file";
        return false;
    }
    if (IsDirectory(destination))
        destination += "/" + BaseName(source);
    std::string temporary;
    const int out = CreateTemporary(DirectoryOf(destination), temporary);
    if (out < 0) {
        error.what = "cannot write in the folder of " + destination + ": " + ErrorText(errno);
        ::close(in);
        return false;
    }
    int failure = CopyBytes(in, out, bytes);
    ::close(in);
    if (failure == 0 && ::fsync(out) != 0)
        failure = errno;
    if (::close(out) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && std::rename(temporary.c_str(), destination.c_str()) != 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(temporary.c_str());
        error.what = "cannot write " + destination + ": " + ErrorText(failure);
        return false;
    }
    return true;
}

CommandOutcome Copy(const std::string& commandLine, const std::vector<std::string>& words)
{
    if (words.size() != 3)
        return Failure(CommandOutcome::Result::CopyFailed,
                       CommandSays(commandLine) + "copy needs one source and one destination, and names without blanks.");
    const std::string& source = words[1];
    const std::string& destination = words[2];
    const bool existed = IsRegularFile(destination);
    long long bytes = 0;
    CopyError error;
    if (!CopyFile(source, destination, bytes, error)) {
        const std::string after = existed ? destination + " is unchanged." : destination + " was not made.";
        return Failure(CommandOutcome::Result::CopyFailed,
                       CommandSays(commandLine) + "the copy failed: " + error.what + "; " + after);
    }
    const std::string line = "copy: " + source + " copied to " + destination + " (" + std::to_string(bytes) + " bytes).";
    PrintLine(STDOUT_FILENO, line);
    CommandOutcome outcome;
    outcome.output = line + "\n";
    return outcome;
}

// ---- programs ----------------------------------------------------------

// SIGPIPE is held back while we pass a program's output on, so that a closed
// standard output of our own ends the passing, not the front end.
class SigpipeHeld {
public:
    SigpipeHeld()
    {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe, &m_previous);
    }
    ~SigpipeHeld()
    {
        sigset_t pending;
        sigpending(&pending);
        if (!m_wasPending && sigismember(&pending, SIGPIPE) == 1) {
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            const timespec now{0, 0};
            sigtimedwait(&pipe, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    SigpipeHeld(const SigpipeHeld&) = delete;
    SigpipeHeld& operator=(const SigpipeHeld&) = delete;

private:
    sigset_t m_previous {};
    bool m_wasPending = false;
};

// One of the child's two output streams, read as it comes.
struct Stream {
    int readEnd = -1;
    int writeEnd = -1;
    int passTo = -1;  // our own descriptor the bytes go on to; -1 once it failed
    bool open = false;
};

bool OpenStream(Stream& stream, int passTo)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return false;
    stream.readEnd = ends[0];
    stream.writeEnd = ends[1];
    stream.passTo = passTo;
    stream.open = true;
    ::fcntl(stream.readEnd, F_SETFL, ::fcntl(stream.readEnd, F_GETFL) | O_NONBLOCK);
    return true;
}

void CloseEnd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

void Keep(std::string& output, const char* data, std::size_t size)
{
    output.append(data, size);
    if (output.size() > kMaxKeptOutput)
        output.erase(0, output.size() - kMaxKeptOutput);
}

// Reads what the stream has now, passes it on and keeps it.
void Drain(Stream& stream, std::string& output)
{
    char buffer[16384];
    while (stream.open) {
        const ssize_t got = ::read(stream.readEnd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN)
            return;
        if (got <= 0) {
            stream.open = false;
            return;
        }
        if (stream.passTo >= 0 && !WriteAll(stream.passTo, buffer, static_cast<std::size_t>(got)))
            stream.passTo = -1;
        Keep(output, buffer, static_cast<std::size_t>(got));
    }
}

// Whether the child has ended (its status is then in STATUS), or can no
// longer be waited for at all (someone else reaped it).
bool Ended(pid_t pid, int& status, int options)
{
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, options);
        if (done < 0 && errno == EINTR)
            continue;
        return done != 0;
    }
}

// Waits for the child to end while passing its output on.  It stops reading
// when the child has ended, even if something it started keeps the pipes open.
int WaitCapturing(pid_t pid, Stream (&streams)[2], std::string& output)
{
    int status = 0;
    for (;;) {
        pollfd polled[2] = {{streams[0].readEnd, POLLIN, 0}, {streams[1].readEnd, POLLIN, 0}};
        for (int i = 0; i < 2; ++i) {
            if (!streams[i].open)
                polled[i].fd = -1;
        }
        const bool anyOpen = streams[0].open || streams[1].open;
        if (anyOpen)
            ::poll(polled, 2, 50);
        for (Stream& stream : streams)
            Drain(stream, output);
        if (!streams[0].open && !streams[1].open) {
            Ended(pid, status, 0);
            return status;
        }
        if (Ended(pid, status, WNOHANG)) {
            for (Stream& stream : streams)
                Drain(stream, output);
            return status;
        }
    }
}

struct Started {
    pid_t pid = 0;
    int error = 0;
};

// Starts PROGRAM with ARGUMENTS: standard input from /dev/null, standard output
// and error into the streams, no other descriptor of ours, default signal
// handling and no blocked signals.
Started Start(const std::string& program, const std::vector<std::string>& words, Stream (&streams)[2])
{
    std::vector<char*> argv;
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, streams[0].writeEnd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, streams[1].writeEnd, STDERR_FILENO);
    // Nothing else of ours reaches the program, whatever was opened without
    // close-on-exec.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    Started started;
    started.error = ::posix_spawn(&started.pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return started;
}

CommandOutcome RunProgram(const std::string& commandLine, const std::string& program,
                          const std::vector<std::string>& words)
{
    const SigpipeHeld held;
    std::fflush(nullptr);
    Stream streams[2];
    if (!OpenStream(streams[0], STDOUT_FILENO) || !OpenStream(streams[1], STDERR_FILENO)) {
        const int error = errno;
        for (Stream& stream : streams) {
            CloseEnd(stream.readEnd);
            CloseEnd(stream.writeEnd);
        }
        return Failure(CommandOutcome::Result::CannotStart,
                       CommandSays(commandLine) + program + " cannot be started: " + ErrorText(error) + ".");
    }
    const Started started = Start(program, words, streams);
    for (Stream& stream : streams)
        CloseEnd(stream.writeEnd);
    std::string output;
    int status = 0;
    if (started.error == 0)
        status = WaitCapturing(started.pid, streams, output);
    for (Stream& stream : streams)
        CloseEnd(stream.readEnd);

    if (started.error != 0)
        return Failure(CommandOutcome::Result::CannotStart,
                       CommandSays(commandLine) + program + " cannot be started: " + ErrorText(started.error) + ".");
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        return Failure(CommandOutcome::Result::KilledBySignal,
                       CommandSays(commandLine) + program + " was ended by signal " + std::to_string(signal) + " ("
                           + strsignal(signal) + ").",
                       std::move(output), signal);
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        return Failure(CommandOutcome::Result::FailedStatus,
                       CommandSays(commandLine) + program + " ended with exit status "
                           + std::to_string(WEXITSTATUS(status)) + ".",
                       std::move(output), WEXITSTATUS(status));
    CommandOutcome outcome;
    outcome.output = std::move(output);
    return outcome;
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

std::string FindProgram(const std::string& name)
{
    return LookUp(name).program;
}

std::string TextViewerProgram()
{
    if (!g_textViewerProgram.empty())
        return g_textViewerProgram;
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return {};
    return DirectoryOf(std::string(self, static_cast<std::size_t>(length))) + "/" + kTextViewerName;
}

void SetTextViewerProgram(const std::string& path)
{
    g_textViewerProgram = path;
}

CommandOutcome RunCommand(const std::string& commandLine)
{
    const std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty())
        return {};
    if (EqualsIgnoringCase(words[0], "copy"))
        return Copy(commandLine, words);

    Lookup lookup = LookUp(words[0]);
    const bool viewer = lookup.program.empty() && lookup.notExecutable.empty() && EqualsIgnoringCase(words[0], "notepad");
    if (viewer) {
        const std::string program = TextViewerProgram();
        if (!IsExecutableFile(program))
            return Failure(CommandOutcome::Result::NotFound,
                           CommandSays(commandLine) + "\"" + words[0]
                               + "\" was not found in the working directory or on PATH, nor the text viewer "
                               + (program.empty() ? std::string(kTextViewerName) : program) + ".");
        lookup.program = program;
    }
    if (lookup.program.empty() && !lookup.notExecutable.empty())
        return Failure(CommandOutcome::Result::CannotStart,
                       CommandSays(commandLine) + lookup.notExecutable + " cannot be started: it is not executable.");
    if (lookup.program.empty())
        return Failure(CommandOutcome::Result::NotFound,
                       CommandSays(commandLine) + "\"" + words[0] + "\" was not found in the working directory or on PATH.");
    return RunProgram(commandLine, lookup.program, words);
}
