#include "RunCase.h"

#include <cstdio>

#include "InputDeck.h"
#include "RunTable.h"

namespace {

void RunCommandLine(RunCaseHost& host, const std::string& commandLine)
{
    const CommandOutcome outcome = host.System(commandLine);
    if (!outcome.succeeded)
        host.ShowError(outcome.report);
}

}  // namespace

void RunCase(CaseRecord& record, RunCaseHost& host)
{
    std::FILE* deck = std::fopen("input.dat", "w");
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
    WriteInputDeck(deck, record);
    std::fclose(deck);

    RunCommandLine(host, "copy input.dat " + record.m_caseFile + ".inp");
    RunCommandLine(host, "tharsel");
    RunCommandLine(host, "notepad " + record.m_caseFile + ".out");
}
