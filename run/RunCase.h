#pragma once

#include <string>

#include "CaseRecord.h"
#include "CommandInterpreter.h"

// What a Run needs of the main form and of the platform.
class RunCaseHost {
public:
    virtual ~RunCaseHost() = default;
    // Takes the form's fields into the record; false when a field was refused
    // (the form has then shown the refusal).
    virtual bool TakeFormIntoRecord() = 0;
    // A message box owned by the form: caption "Error", one OK button, no icon.
    virtual void ShowError(const std::string& text) = 0;
    // Runs one command through the command interpreter and waits for its end.
    virtual CommandOutcome System(const std::string& commandLine) = 0;
};

// Run: writes "input.dat" from the form, then "copy input.dat <case>.inp",
// "tharsel" and "notepad <case>.out", each after the previous one has ended.
// When input.dat cannot be opened, or the form refuses a field, nothing is
// written (the last deck stays as it was) and no command runs.  When the deck
// cannot be written whole, "Error writing input.dat" is shown and no command
// runs.  A command that fails is reported through ShowError and the sequence
// goes on.
void RunCase(CaseRecord& record, RunCaseHost& host);
