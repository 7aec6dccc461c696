#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "CommandFixture.h"
#include "CommandInterpreter.h"

namespace {

using Result = CommandOutcome::Result;
using Words = std::vector<std::string>;

// What one of our own descriptors (1 or 2) received while it lived.
class CapturedDescriptor {
public:
    CapturedDescriptor(int fd, const fs::path& file) : m_fd(fd), m_file(file)
    {
        std::fflush(nullptr);
        m_saved = ::dup(fd);
        const int out = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, fd);
        ::close(out);
    }
    ~CapturedDescriptor() { Restore(); }
    std::string Text()
    {
        Restore();
        return ReadWholeFile(m_file);
    }

private:
    void Restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(nullptr);
        ::dup2(m_saved, m_fd);
        ::close(m_saved);
        m_saved = -1;
    }
    int m_fd;
    fs::path m_file;
    int m_saved = -1;
};

class CommandInterpreter : public CommandFixture {};

// Every table row below prints as its name.
template <typename Row>
    requires requires(const Row& row) { row.name; }
void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

// ---- splitting ---------------------------------------------------------

struct SplitCase {
    const char* name;
    std::string line;
    Words words;
};

class SplitCommandLineCases : public testing::TestWithParam<SplitCase> {};

// Catches a split that keeps empty words, drops the last word, or splits at
// anything but a blank (a shell's quoting or operators).
TEST_P(SplitCommandLineCases, SplitsAtBlanksOnly)
{
    EXPECT_EQ(SplitCommandLine(GetParam().line), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitCommandLineCases,
    testing::Values(SplitCase{"three words", "copy input.dat demo.inp", {"copy", "input.dat", "demo.inp"}},
                    SplitCase{"runs of blanks", "  notepad   my  case.out ", {"notepad", "my", "case.out"}},
                    SplitCase{"empty line", "", {}},
                    SplitCase{"only blanks", "    ", {}},
                    SplitCase{"quotes stay", "notepad \"a b\".out", {"notepad", "\"a", "b\".out"}},
                    SplitCase{"operators stay", "copy input.dat a;touch|x&.inp", {"copy", "input.dat", "a;touch|x&.inp"}},
                    SplitCase{"tab is part of a word", "notepad a\tb.out", {"notepad", "a\tb.out"}}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name)
            c = (c == ' ') ? '_' : c;
        return name;
    });

// ---- copy --------------------------------------------------------------

// Catches a text-mode or line-by-line copy (CR LF, NUL bytes, no final line
// feed) and a missing line in the interpreter's output.
TEST_F(CommandInterpreter, CopyMakesAByteForByteCopyAndSaysSo)
{
    const std::string deck = std::string("demo    .out\r\nline two\r\n\0binary\xff", 33) + "no final feed";
    WriteWholeFile("input.dat", deck);
    CapturedDescriptor out(STDOUT_FILENO, m_root / "stdout");
    const CommandOutcome outcome = RunCommand("copy input.dat demo.inp");
    const std::string printed = out.Text();

    EXPECT_TRUE(outcome.succeeded) << outcome.report;
    EXPECT_EQ(ReadWholeFile("demo.inp"), deck);
    const std::string line = "copy: input.dat copied to demo.inp (" + std::to_string(deck.size()) + " bytes).\n";
    EXPECT_EQ(printed, line);
    EXPECT_EQ(outcome.output, line);
    EXPECT_EQ(Files(), (std::set<std::string>{"input.dat", "demo.inp"}));
    EXPECT_TRUE(Starts().empty());
}

// Catches an appending copy, or one that keeps the tail of a longer old file.
TEST_F(CommandInterpreter, CopyReplacesALongerDestination)
{
    WriteWholeFile("input.dat", "new\r\n");
    WriteWholeFile("demo.inp", std::string(5000, 'o'));
    EXPECT_TRUE(RunCommand("copy input.dat demo.inp").succeeded);
    EXPECT_EQ(ReadWholeFile("demo.inp"), "new\r\n");
}

class CopySpellings : public CommandFixture, public testing::WithParamInterface<const char*> {};

// Catches a built-in compared with case: "COPY" would then start the program
// named copy (bin/ has a fake of it) instead of copying.
TEST_P(CopySpellings, IsTheBuiltInWhateverTheCase)
{
    WriteWholeFile("input.dat", "deck\r\n");
    WriteRecorder(m_work / GetParam(), GetParam());
    EXPECT_TRUE(RunCommand(std::string(GetParam()) + " input.dat demo.inp").succeeded);
    EXPECT_EQ(ReadWholeFile("demo.inp"), "deck\r\n");
    EXPECT_TRUE(Starts().empty());
}

std::string Spelling(const testing::TestParamInfo<const char*>& info)
{
    return info.param;
}

INSTANTIATE_TEST_SUITE_P(Spellings, CopySpellings, testing::Values("copy", "COPY", "Copy", "cOpY"), Spelling);

// Catches a copy that writes straight into the destination: a disk that fills
// up half-way would leave the old .inp cut short, and a leftover partial file.
TEST_F(CommandInterpreter, CopyThatFailsHalfWayLeavesTheOldDestinationIntact)
{
    const std::string big(256 * 1024, 'n');
    WriteWholeFile("input.dat", big);
    WriteWholeFile("demo.inp", "the old deck\r\n");
    CommandOutcome outcome;
    {
        const FileSizeLimit full(64 * 1024);
        outcome = RunCommand("copy input.dat demo.inp");
    }
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.result, Result::CopyFailed);
    EXPECT_EQ(outcome.report, "Command \"copy input.dat demo.inp\": the copy failed: cannot write demo.inp: "
                              "File too large; demo.inp is unchanged.");
    EXPECT_EQ(ReadWholeFile("demo.inp"), "the old deck\r\n");
    EXPECT_EQ(Files(), (std::set<std::string>{"input.dat", "demo.inp"}));
}

struct CopyFailure {
    const char* name;
    std::string commandLine;
    std::string report;
};

class CopyFailures : public CommandFixture, public testing::WithParamInterface<CopyFailure> {};

// Catches a failed copy reported as success, a report that does not name the
// command, and a failure that touches the destination or leaves files behind.
TEST_P(CopyFailures, ReportAndLeaveEverythingAsItWas)
{
    WriteWholeFile("input.dat", "deck\r\n");
    WriteWholeFile("old.inp", "old\r\n");
    fs::create_directory("folder");
    const std::set<std::string> before = Files();
    CapturedDescriptor err(STDERR_FILENO, m_root / "stderr");
    const CommandOutcome outcome = RunCommand(GetParam().commandLine);
    const std::string printed = err.Text();

    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.result, Result::CopyFailed);
    EXPECT_EQ(outcome.report, GetParam().report);
    EXPECT_EQ(printed, GetParam().report + "\n");
    EXPECT_EQ(ReadWholeFile("old.inp"), "old\r\n");
    EXPECT_EQ(Files(), before);
    EXPECT_TRUE(fs::is_empty("folder"));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, CopyFailures,
    testing::Values(
        CopyFailure{"missing_source", "copy missing.dat old.inp",
                    "Command \"copy missing.dat old.inp\": the copy failed: cannot open missing.dat: No such file or "
                    "directory; old.inp is unchanged."},
        CopyFailure{"folder_as_source", "copy folder old.inp",
                    "Command \"copy folder old.inp\": the copy failed: folder is a folder, not a file; old.inp is "
                    "unchanged."},
        CopyFailure{"destination_in_no_folder", "copy input.dat nowhere/new.inp",
                    "Command \"copy input.dat nowhere/new.inp\": the copy failed: cannot write in the folder of "
                    "nowhere/new.inp: No such file or directory; nowhere/new.inp was not made."},
        CopyFailure{"blank_in_the_name", "copy input.dat my case.inp",
                    "Command \"copy input.dat my case.inp\": copy needs one source and one destination, and names "
                    "without blanks."},
        CopyFailure{"no_destination", "copy input.dat",
                    "Command \"copy input.dat\": copy needs one source and one destination, and names without "
                    "blanks."}),
    [](const auto& info) { return std::string(info.param.name); });

// Catches a copy that replaces a folder named as the destination instead of
// copying into it, as the original interpreter does.
TEST_F(CommandInterpreter, CopyIntoAFolderKeepsTheSourceName)
{
    WriteWholeFile("input.dat", "deck\r\n");
    fs::create_directory("saved");
    EXPECT_TRUE(RunCommand("copy input.dat saved").succeeded);
    EXPECT_EQ(ReadWholeFile("saved/input.dat"), "deck\r\n");
}

// ---- programs ----------------------------------------------------------

// Catches a lookup that tries PATH first: the engine beside the decks must win.
TEST_F(CommandInterpreter, WorkingDirectoryComesBeforePath)
{
    WriteRecorder(m_work / "tharsel", "tharsel here");
    WriteRecorder(m_bin / "tharsel", "tharsel on PATH");
    EXPECT_TRUE(RunCommand("tharsel").succeeded);
    EXPECT_EQ(Starts(), Words{"tharsel here"});
    EXPECT_EQ(FindProgram("tharsel"), "./tharsel");
}

// Catches a lookup that stops at the working directory.
TEST_F(CommandInterpreter, ProgramIsFoundOnPath)
{
    WriteRecorder(m_bin / "tharsel", "tharsel on PATH");
    EXPECT_TRUE(RunCommand("tharsel").succeeded);
    EXPECT_EQ(Starts(), Words{"tharsel on PATH"});
}

// Catches a program started elsewhere than the working directory (the engine
// would then miss input.dat).
TEST_F(CommandInterpreter, ProgramRunsInTheWorkingDirectory)
{
    WriteScript(m_work / "where", "pwd > where.txt\n");
    EXPECT_TRUE(RunCommand("where").succeeded);
    EXPECT_EQ(ReadWholeFile("where.txt"), m_work.string() + "\n");
}

struct ArgumentCase {
    const char* name;
    std::string arguments;
    std::string logged;
};

class ShellCharacters : public CommandFixture, public testing::WithParamInterface<ArgumentCase> {};

// Catches a command line that reaches a shell: it would start id, touch or
// b.inp (fakes on PATH that log), expand $(...), backquotes, globs or ~, or
// strip quotes.  The program must get the words as they are, and nothing else
// may start or appear.
TEST_P(ShellCharacters, ReachTheProgramAsTheyAre)
{
    WriteRecorder(m_work / "show", "show");
    WriteWholeFile("one.out", "");
    const std::set<std::string> before = Files();
    EXPECT_TRUE(RunCommand("show " + GetParam().arguments).succeeded);
    EXPECT_EQ(Starts(), Words{"show " + GetParam().logged});
    EXPECT_EQ(Files(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ShellCharacters,
    testing::Values(ArgumentCase{"semicolon", "a;touch x.inp", "[a;touch] [x.inp]"},
                    ArgumentCase{"command_substitution", "$(id).out", "[$(id).out]"},
                    ArgumentCase{"pipe", "a|b.inp", "[a|b.inp]"},
                    ArgumentCase{"backquotes", "`id`.out", "[`id`.out]"},
                    ArgumentCase{"and_and_redirection", "a&&id>x.out", "[a&&id>x.out]"},
                    ArgumentCase{"glob_and_tilde", "*.out ~ ?ne.out", "[*.out] [~] [?ne.out]"},
                    ArgumentCase{"quotes_and_variable", "\"$HOME\" 'x'", "[\"$HOME\"] ['x']"}),
    [](const auto& info) { return std::string(info.param.name); });

// Catches a program left reading our terminal: the engine would wait forever
// for input behind a frozen form.
TEST_F(CommandInterpreter, ProgramReadsNothingFromStandardInput)
{
    WriteScript(m_work / "reader", "cat > got.txt\n");
    EXPECT_TRUE(RunCommand("reader").succeeded);
    EXPECT_EQ(ReadWholeFile("got.txt"), "");
}

// Catches output that is kept but no longer reaches our own standard output
// and error, or is kept from one stream only.
TEST_F(CommandInterpreter, OutputIsPassedOnAndKept)
{
    WriteScript(m_work / "talk", "echo to-out\necho to-err >&2\n");
    CapturedDescriptor out(STDOUT_FILENO, m_root / "stdout");
    CapturedDescriptor err(STDERR_FILENO, m_root / "stderr");
    const CommandOutcome outcome = RunCommand("talk");
    EXPECT_EQ(out.Text(), "to-out\n");
    EXPECT_EQ(err.Text(), "to-err\n");
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_EQ(outcome.report, "");
    EXPECT_NE(outcome.output.find("to-out\n"), std::string::npos);
    EXPECT_NE(outcome.output.find("to-err\n"), std::string::npos);
}

struct ProgramOutcome {
    const char* name;
    std::string script;  // the body of ./tharsel, or "" for none, "!" + body for a file not executable
    Result result;
    int exitStatus;
    std::string report;
};

class ProgramOutcomes : public CommandFixture, public testing::WithParamInterface<ProgramOutcome> {};

// Catches a failure reported as success (or the other way round), a report
// that does not name the command or what happened, and the command's own
// words missing from the report.  A file that is no program must not be
// handed to a shell either (the no_interpreter row would then make ran.txt).
TEST_P(ProgramOutcomes, AreReportedInPlainWords)
{
    const ProgramOutcome& expected = GetParam();
    const fs::path engine = m_work / "tharsel";
    if (expected.script.rfind("!", 0) == 0) {
        WriteWholeFile(engine, expected.script.substr(1));
        fs::permissions(engine, fs::perms::owner_read | fs::perms::owner_write);
    } else if (expected.script.rfind("#", 0) == 0) {
        WriteWholeFile(engine, expected.script);
        fs::permissions(engine, fs::perms::owner_all);
    } else if (!expected.script.empty()) {
        WriteScript(engine, expected.script);
    }
    CapturedDescriptor err(STDERR_FILENO, m_root / "stderr");
    const CommandOutcome outcome = RunCommand("tharsel");
    const std::string printed = err.Text();

    EXPECT_EQ(outcome.result, expected.result);
    EXPECT_EQ(outcome.succeeded, expected.result == Result::Succeeded);
    EXPECT_EQ(outcome.exitStatus, expected.exitStatus);
    EXPECT_EQ(outcome.report, expected.report);
    // Our own line comes last on standard error, after what the program wrote there.
    const std::string headline = expected.report.substr(0, expected.report.find('\n'));
    if (outcome.succeeded)
        EXPECT_EQ(printed, "");
    else
        EXPECT_TRUE(printed.ends_with(headline + "\n")) << printed;
    EXPECT_FALSE(fs::exists("ran.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ProgramOutcomes,
    testing::Values(
        ProgramOutcome{"succeeds_quietly", "echo all well\n", Result::Succeeded, 0, ""},
        ProgramOutcome{"not_found", "", Result::NotFound, 0,
                       "Command \"tharsel\": \"tharsel\" was not found in the working directory or on PATH."},
        ProgramOutcome{"not_executable", "!echo hi\n", Result::CannotStart, 0,
                       "Command \"tharsel\": ./tharsel cannot be started: it is not executable."},
        ProgramOutcome{"no_interpreter", "# no #! line\ntouch ran.txt\n", Result::CannotStart, 0,
                       "Command \"tharsel\": ./tharsel cannot be started: Exec format error."},
        ProgramOutcome{"missing_interpreter", "#!/no/such/shell\n", Result::CannotStart, 0,
                       "Command \"tharsel\": ./tharsel cannot be started: No such file or directory."},
        ProgramOutcome{"non_zero_status", "echo reading input.dat\necho 'bad deck: line 3' >&2\nexit 3\n",
                       Result::FailedStatus, 3,
                       "Command \"tharsel\": ./tharsel ended with exit status 3.\n\nIt printed:\n"
                       "reading input.dat\nbad deck: line 3"},
        ProgramOutcome{"killed_by_signal", "echo going\nkill -KILL $$\n", Result::KilledBySignal, 9,
                       "Command \"tharsel\": ./tharsel was ended by signal 9 (Killed).\n\nIt printed:\ngoing"},
        ProgramOutcome{"crashes", "kill -SEGV $$\n", Result::KilledBySignal, 11,
                       "Command \"tharsel\": ./tharsel was ended by signal 11 (Segmentation fault)."}),
    [](const auto& info) { return std::string(info.param.name); });

// Catches a report that quotes a whole long log into a message box, or that
// quotes its start instead of its end (where the engine says what went wrong).
TEST_F(CommandInterpreter, ReportQuotesTheLastLinesOnly)
{
    WriteScript(m_work / "tharsel", "i=1\nwhile [ $i -le 100 ]; do echo \"line $i\"; i=$((i+1)); done\nexit 1\n");
    const CommandOutcome outcome = RunCommand("tharsel");
    std::string expected = "Command \"tharsel\": ./tharsel ended with exit status 1.\n\nIt printed:\n...";
    for (int i = 86; i <= 100; ++i)
        expected += "\nline " + std::to_string(i);
    EXPECT_EQ(outcome.report, expected);
    EXPECT_EQ(outcome.output.size(), std::string("line 1\n").size() * 9 + std::string("line 10\n").size() * 90 + 9);
}

// Catches a report that quotes a whole very long line, or cuts a character
// of UTF-8 in two where it starts.
TEST_F(CommandInterpreter, ReportQuotesTheEndOfAVeryLongLine)
{
    WriteScript(m_work / "tharsel", "i=0\nwhile [ $i -lt 1000 ]; do printf 'ab\\303\\251'; i=$((i+1)); done\necho\nexit 1\n");
    const CommandOutcome outcome = RunCommand("tharsel");
    const std::string headline = "Command \"tharsel\": ./tharsel ended with exit status 1.\n\nIt printed:\n...\n";
    ASSERT_TRUE(outcome.report.starts_with(headline)) << outcome.report;
    const std::string quoted = outcome.report.substr(headline.size());
    EXPECT_LE(quoted.size(), kMaxReportedBytes);
    EXPECT_GE(quoted.size(), kMaxReportedBytes - 3);
    EXPECT_NE(static_cast<unsigned char>(quoted[0]) & 0xC0, 0x80u) << "starts inside a character";
    EXPECT_TRUE(quoted.ends_with("ab\xc3\xa9"));
}

// Catches output kept without bound (a chatty engine would fill memory) or
// kept from its start instead of its end.
TEST_F(CommandInterpreter, KeptOutputIsTheLastPart)
{
    WriteScript(m_work / "chatty", "i=0\nwhile [ $i -lt 20000 ]; do echo \"line $i\"; i=$((i+1)); done\n");
    CapturedDescriptor out(STDOUT_FILENO, m_root / "stdout");
    const CommandOutcome outcome = RunCommand("chatty");
    const std::string passed = out.Text();
    EXPECT_EQ(outcome.output.size(), kMaxKeptOutput);
    EXPECT_TRUE(outcome.output.ends_with("line 19998\nline 19999\n"));
    EXPECT_TRUE(passed.starts_with("line 0\nline 1\n")) << "all of it still reaches our output";
    EXPECT_TRUE(passed.ends_with("line 19999\n"));
}

// Catches a wait for the end of the pipes rather than of the program: a
// program that leaves something running behind it would freeze the form.
TEST_F(CommandInterpreter, WaitsForTheProgramNotForWhatItLeftRunning)
{
    WriteScript(m_work / "starter", "sleep 30 &\necho $! > child.pid\n");
    EXPECT_TRUE(RunCommand("starter").succeeded);
    const pid_t left = std::stoi(ReadWholeFile("child.pid"));
    EXPECT_EQ(::kill(left, 0), 0) << "the program's child should still be running";
    ::kill(left, SIGKILL);
}

// Catches signal dispositions leaking into the program: with SIGPIPE ignored
// by us, `yes | head` would make yes complain of a broken pipe.
TEST_F(CommandInterpreter, ProgramStartsWithDefaultSignals)
{
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    WriteScript(m_work / "piper", "yes | head -n 1\n");
    const CommandOutcome outcome = RunCommand("piper");
    std::signal(SIGPIPE, previous);
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_EQ(outcome.output, "y\n");
}

// Catches descriptors of ours leaking into the program (a file the form has
// open, the pipes of an earlier command) when they lack close-on-exec.
TEST_F(CommandInterpreter, ProgramGetsNoOtherDescriptorOfOurs)
{
    const int open = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(::dup2(open, 42), 0);
    ::close(open);
    WriteScript(m_work / "fds", "[ -e /proc/self/fd/42 ] && echo 42 is open\nexit 0\n");
    const CommandOutcome outcome = RunCommand("fds");
    ::close(42);
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_EQ(outcome.output, "");
}

// ---- the text viewer ---------------------------------------------------

// Catches a viewer looked up in the working directory or from argv[0]: it is
// the program beside the running executable.
TEST_F(CommandInterpreter, TextViewerIsBesideTheRunningExecutable)
{
    const fs::path self = fs::read_symlink("/proc/self/exe");
    EXPECT_EQ(TextViewerProgram(), (self.parent_path() / "wtharsel-viewer").string());
}

class NotepadSpellings : public CommandFixture, public testing::WithParamInterface<const char*> {};

// Catches a fallback missing, or one that needs the exact spelling: with no
// notepad anywhere, our viewer opens the report, each word an argument.
TEST_P(NotepadSpellings, FallBackToOurViewer)
{
    const fs::path viewer = m_root / "viewer-bin" / "wtharsel-viewer";
    fs::create_directories(viewer.parent_path());
    WriteFakeViewer(viewer, "viewer");
    SetTextViewerProgram(viewer.string());
    EXPECT_TRUE(RunCommand(std::string(GetParam()) + " my case.out").succeeded);
    EXPECT_EQ(Starts(), Words{"viewer [my] [case.out]"});
}

INSTANTIATE_TEST_SUITE_P(Spellings, NotepadSpellings, testing::Values("notepad", "NOTEPAD", "Notepad"), Spelling);

// Catches a fallback that overrides a notepad the user put in the working
// directory or on PATH.
TEST_F(CommandInterpreter, NotepadFoundAsAProgramComesFirst)
{
    const fs::path viewer = m_root / "viewer-bin" / "wtharsel-viewer";
    fs::create_directories(viewer.parent_path());
    WriteFakeViewer(viewer, "viewer");
    SetTextViewerProgram(viewer.string());
    WriteFakeViewer(m_bin / "notepad");
    EXPECT_TRUE(RunCommand("notepad demo.out").succeeded);
    EXPECT_EQ(Starts(), Words{"notepad [demo.out]"});
}

// Catches a missing viewer passed over in silence.
TEST_F(CommandInterpreter, MissingViewerIsReportedWithWhereItWasLookedFor)
{
    SetTextViewerProgram((m_root / "nowhere" / "wtharsel-viewer").string());
    const CommandOutcome outcome = RunCommand("notepad demo.out");
    EXPECT_EQ(outcome.result, Result::NotFound);
    EXPECT_EQ(outcome.report, "Command \"notepad demo.out\": \"notepad\" was not found in the working directory or "
                              "on PATH, nor the text viewer " + (m_root / "nowhere" / "wtharsel-viewer").string() + ".");
}

// Catches an empty line treated as a program of no name.
TEST_F(CommandInterpreter, EmptyLineDoesNothing)
{
    const CommandOutcome outcome = RunCommand("   ");
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_TRUE(Starts().empty());
}

}  // namespace
