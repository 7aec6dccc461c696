#pragma once

#include <string>
#include <vector>

// What became of one command: whether it succeeded, and if not, a report for
// the user that names the command, says what happened and gives what the
// command printed.
struct CommandOutcome {
    enum class Result {
        Succeeded,
        NotFound,        // no program of that name in the working directory or on PATH
        CannotStart,     // found, but the system refused to start it
        FailedStatus,    // ended with a non-zero exit status
        KilledBySignal,  // ended by a signal
        CopyFailed,      // the copy built-in could not make the copy
    };

    bool succeeded = true;
    std::string report;
    Result result = Result::Succeeded;
    int exitStatus = 0;  // the status of FailedStatus, the signal of KilledBySignal
    // What the command printed on its standard output and error, in the order
    // it came, at most the last kMaxKeptOutput bytes.  For the copy built-in,
    // the line the interpreter printed.
    std::string output;
};

// How much of a command's output is kept for its outcome.
inline constexpr std::size_t kMaxKeptOutput = 64 * 1024;
// How much of it a report quotes: the last lines, at most this many.
inline constexpr std::size_t kMaxReportedLines = 15;
inline constexpr std::size_t kMaxReportedBytes = 1500;

// Runs one command line in the working directory and waits for it to end, as
// the operating system's command interpreter does.  On POSIX the line never
// reaches a shell: it is split into words at blanks, "copy SOURCE DESTINATION"
// is a built-in, and any other first word names a program looked up in the
// working directory, then along PATH, started with the other words as its
// arguments.  "notepad", when no such program is found, is our own text viewer
// beside the running executable.  What a program prints still reaches our own
// standard output and error, and is kept for the outcome as well.
CommandOutcome RunCommand(const std::string& commandLine);

// The command line's words, split at blanks.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// The program a command word names: "./NAME" when the working directory has
// it, else the first PATH directory's; a word with a slash is taken as a path.
// Empty when there is none.
std::string FindProgram(const std::string& name);

// Our text viewer, which stands in for "notepad": the program
// kTextViewerName beside the running executable (empty when that cannot be
// told).  SetTextViewerProgram replaces it with another program; an empty
// path brings back the one beside the executable.
inline constexpr const char* kTextViewerName = "wtharsel-viewer";
std::string TextViewerProgram();
void SetTextViewerProgram(const std::string& path);
