#pragma once

#include <string>
#include <vector>

// What became of one command: whether it succeeded, and if not, a report for
// the user that names the command, says what happened and gives what the
// command printed.
struct CommandOutcome {
    bool succeeded = true;
    std::string report;
};

// Runs one command line in the working directory and waits for it to end, as
// the operating system's command interpreter does.  On POSIX the line never
// reaches a shell: it is split into words at blanks, "copy SOURCE DESTINATION"
// is a built-in, and any other first word names a program looked up in the
// working directory, then along PATH, started with the other words as its
// arguments.
CommandOutcome RunCommand(const std::string& commandLine);

// The command line's words, split at blanks.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
