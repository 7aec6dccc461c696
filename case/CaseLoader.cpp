#include "CaseLoader.h"

#include <cerrno>
#include <cstdio>

#include <sys/stat.h>

#include "PrintfNumbers.h"

namespace {

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// The deck's text as the form's fields show it.
LoadedCase FormTexts(const DeckValues& deck)
{
    LoadedCase form;
    const int n = deck.componentCount;
    form.title = deck.title;
    form.componentCount = FormatD(n);
    form.densityExponent = deck.densityExponentText;
    form.initialTemperature = deck.temperatureText;
    for (int i = 0; i < 3; ++i)
        form.cp[i] = FormatG(deck.cp[i]);
    const int digits[5] = {0, 1, 2, 3, 7};
    for (int i = 0; i < 5; ++i)
        form.options[i] = deck.options[digits[i]];
    for (int c = 0; c < n; ++c) {
        form.ingredientId[c] = FormatD(deck.runs.ingredientId[c]);
        form.weight[c] = FormatG(deck.runs.mass[c][0]);
    }
    form.chamberPressure = FormatG(deck.runs.chamberPressure[0]);
    form.exhaustPressure = FormatG(deck.runs.exhaustPressure[0]);
    form.rows = n;
    return form;
}

}  // namespace

SavedCase ReadSavedCase(const std::string& caseFile)
{
    SavedCase saved;
    const std::string path = caseFile + ".inp";
    if (!Exists(path)) {
        saved.status = SavedCase::Status::Missing;
        return saved;
    }
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
        saved.status = SavedCase::Status::Unopened;
        return saved;
    }
    const DeckReading reading = ReadInputDeck(file);
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) {
        // A directory of that name opens on POSIX but cannot be read.
        saved.status = SavedCase::Status::Unopened;
        return saved;
    }
    if (!reading.ok()) {
        saved.status = SavedCase::Status::Malformed;
        saved.message = "The case " + path + " cannot be loaded: " + reading.Account() + ".";
        return saved;
    }
    saved.status = SavedCase::Status::Loaded;
    saved.deck = reading.deck;
    saved.form = FormTexts(reading.deck);
    return saved;
}

void ApplySavedRuns(const DeckValues& deck, RunTable& table)
{
    const int n = deck.componentCount;
    table.runCount = deck.runs.runCount;
    for (int r = 1; r < table.runCount; ++r) {
        table.chamberPressure[r] = deck.runs.chamberPressure[r];
        table.exhaustPressure[r] = deck.runs.exhaustPressure[r];
        for (int c = 0; c < kMaxComponents; ++c)
            table.mass[c][r] = c < n ? deck.runs.mass[c][r] : 0.0;
    }
    for (int r = table.runCount; r < kMaxRuns; ++r) {
        table.chamberPressure[r] = table.chamberPressure[0];
        table.exhaustPressure[r] = table.exhaustPressure[0];
        for (int c = 0; c < kMaxComponents; ++c)
            table.mass[c][r] = table.mass[c][0];
    }
}
