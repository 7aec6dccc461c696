#include "RunCase.h"

#include <cstdio>

#include <unistd.h>

#include "InputDeck.h"
#include "RunTable.h"

namespace {

void RunCommandLine(RunCaseHost& host, const std::string& commandLine)
{
    const CommandOutcome outcome = host.System(commandLine);
    if (!outcome.succeeded)
        host.ShowError(outcome.report);
}

// Empties the deck, writes it anew and closes it; false when any of that
// failed (a full disk, say).
bool WriteDeckAndClose(std::FILE* deck, const CaseRecord& record)
{
    const bool emptied = ::ftruncate(::fileno(deck), 0) == 0;
    WriteInputDeck(deck, record);
    const bool written = std::fflush(deck) == 0 && !std::ferror(deck);
    const bool closed = std::fclose(deck) == 0;
    return emptied && written && closed;
}

}  // namespace

void RunCase(CaseRecord& record, RunCaseHost& host)
{
    // Opened for writing without emptying it yet: a Run the form refuses
    // leaves the last deck as it was.
    std::FILE* deck = std::fopen("input.dat", "a");
    if (deck == nullptr) {
        host.ShowError("Error opening input.dat");
        return;
    }
    // A refused field can leave an out-of-range component count in the
    // record; it must reach neither the run table nor the deck.
    if (!host.TakeFormIntoRecord()) {
        std::fclose(deck);
        return;
    }
    CopyCaseToRunTable(record);
    // A deck cut short must not be kept as the case's copy nor reach the engine.
    if (!WriteDeckAndClose(deck, record)) {
        host.ShowError("Error writing input.dat");
        return;
    }

    RunCommandLine(host, "copy input.dat " + record.m_caseFile + ".inp");
    RunCommandLine(host, "tharsel");
    RunCommandLine(host, "notepad " + record.m_caseFile + ".out");
}
