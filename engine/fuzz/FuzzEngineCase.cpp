// Feeds any text as a deck to the whole computation with the shipped data:
// reading, equilibrium, expansion, report and results file.  Whatever the
// deck says, the engine must finish without a crash.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "CaseRun.h"
#include "DeckReader.h"
#include "Report.h"
#include "ResultsCsv.h"

namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

const IngredientReading& Database()
{
    static const IngredientReading reading = ReadIngredientDatabase(Slurp(WTHARSEL_DATA_DIR "/kalcoded.daf"));
    return reading;
}

const ThermoReading& Thermo()
{
    static const ThermoReading reading = ReadThermoData(Slurp(WTHARSEL_DATA_DIR "/jannaf.daf"));
    return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!Database().ok() || !Thermo().ok())
        __builtin_trap();
    const DeckReading deck = ReadInputDeck(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!deck.ok())
        return 0;
    const CaseOutcome outcome = ComputeCase(deck.deck, Database().ingredients, Thermo().species);
    FormatReport(outcome);
    FormatResultsCsv(&outcome);
    return 0;
}
