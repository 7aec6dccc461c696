#include "Engine.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "CaseRun.h"
#include "DeckReader.h"
#include "IngredientDatabase.h"
#include "Report.h"
#include "ResultsCsv.h"
#include "SetupFile.h"
#include "TextFields.h"
#include "ThermoData.h"

namespace {

// A data file is at most this large; anything bigger is not one of ours.
constexpr long kLargestFile = 64L * 1024 * 1024;

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return std::nullopt;
    // One allocation of the file's size: growing the buffer step by step
    // costs more than reading the file.
    std::string text;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && size <= kLargestFile)
            text.reserve(static_cast<std::size_t>(size));
        std::rewind(file);
    }
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
        if (static_cast<long>(text.size()) > kLargestFile)
            break;
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return std::nullopt;
    return text;
}

bool WriteWholeFile(const std::string& path, const std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

bool IsAbsolute(const std::string& path)
{
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) || (path.size() > 1 && path[1] == ':');
}

std::vector<std::string> ElementsOfCase(const DeckValues& deck, const std::vector<Ingredient>& ingredients)
{
    std::vector<std::string> elements{"E"};
    for (int k = 0; k < deck.componentCount && k < kMaxComponents; ++k) {
        const int number = deck.runs.ingredientId[k];
        if (number < 1 || static_cast<std::size_t>(number) > ingredients.size())
            continue;
        for (const FormulaTerm& term : ingredients[number - 1].formula) {
            if (std::find(elements.begin(), elements.end(), term.element) == elements.end())
                elements.push_back(term.element);
        }
    }
    return elements;
}

class EngineRun {
public:
    EngineRun(std::string directory, std::FILE* errors) : m_directory(std::move(directory)), m_errors(errors) {}

    int Run()
    {
        const std::optional<std::string> deckText = ReadWholeFile(InDirectory("input.dat"));
        const DeckReading deck = ReadInputDeck(deckText ? *deckText : std::string());
        if (deckText)
            TakeCaseName(deck, *deckText);
        const std::optional<std::string> setupText = ReadWholeFile(InDirectory("setup.kal"));
        if (!setupText)
            return Fail("cannot open the setup file " + InDirectory("setup.kal"));
        const SetupReading setup = ReadSetupFile(*setupText);
        if (!setup.ok())
            return Fail("setup.kal line " + std::to_string(setup.problem->line) + ": " + setup.problem->message);
        m_resultsPath = Resolve(setup.paths.resultsFile);
        if (!deckText)
            return Fail("cannot open the input deck " + InDirectory("input.dat"));
        if (!deck.ok())
            return Fail("input.dat " + deck.Account());
        const std::optional<IngredientReading> database =
            ReadDataFile(setup.paths.ingredientDatabase, "ingredient database", ReadIngredientDatabase);
        if (!database)
            return kEngineNoCase;
        const std::optional<ThermoReading> thermo =
            ReadThermo(setup.paths.thermoData, ElementsOfCase(deck.deck, database->ingredients));
        if (!thermo)
            return kEngineNoCase;
        const CaseOutcome outcome = ComputeCase(deck.deck, database->ingredients, thermo->species);
        for (const RunOutcome& run : outcome.runs) {
            if (!run.ok)
                Say("run " + std::to_string(run.run) + " failed: " + run.message);
            else if (!run.rocket.frozen.note.empty())
                Say("run " + std::to_string(run.run) + ": " + run.rocket.frozen.note);
        }
        WriteReport(FormatReport(outcome));
        WriteResults(&outcome);
        return outcome.AllComputed() ? kEngineAllRuns : kEngineSomeRunsFailed;
    }

private:
    // The report's name is known as soon as the deck's first line is, even
    // when a later line of the deck is wrong.
    void TakeCaseName(const DeckReading& deck, const std::string& text)
    {
        const std::vector<std::string_view> lines = SplitTextLines(text);
        m_caseName = CaseNameOf(deck.ok() ? deck.deck.reportLine : std::string(lines.empty() ? "" : lines[0]));
        if (lines.size() > 1)
            m_title = std::string(TrimBlanks(lines[1].substr(0, 16)));
    }

    std::string InDirectory(const std::string& name) const
    {
        return m_directory.empty() || m_directory == "." ? name : m_directory + "/" + name;
    }

    std::string Resolve(const std::string& path) const
    {
        return IsAbsolute(path) ? path : InDirectory(path);
    }

    static std::string Where(const std::string& path, const DataProblem& problem)
    {
        if (problem.line == 0)
            return path + ": " + problem.message;
        return path + " line " + std::to_string(problem.line) + ": " + problem.message;
    }

    // Reads and parses a data file; a failure of either is told, and the
    // result is then empty.
    template <class Parser>
    auto ReadDataFile(const std::string& path, const char* what, Parser parse)
        -> std::optional<decltype(parse(std::string_view()))>
    {
        const std::optional<std::string> text = ReadWholeFile(Resolve(path));
        if (!text) {
            Fail(std::string("cannot open the ") + what + " " + path);
            return std::nullopt;
        }
        auto reading = parse(*text);
        if (!reading.ok()) {
            Fail(Where(path, *reading.problem));
            return std::nullopt;
        }
        return reading;
    }

    // The data file is read for the species the case can form: those of the
    // elements of its ingredients (and the electron, for ions).
    std::optional<ThermoReading> ReadThermo(const std::string& path, const std::vector<std::string>& elements)
    {
        std::FILE* file = std::fopen(Resolve(path).c_str(), "rb");
        if (file == nullptr) {
            Fail("cannot open the thermochemical data file " + path);
            return std::nullopt;
        }
        ThermoReading reading = ReadThermoData(file, &elements);
        std::fclose(file);
        if (!reading.ok()) {
            Fail(Where(path, *reading.problem));
            return std::nullopt;
        }
        return reading;
    }

    void Say(const std::string& message)
    {
        std::fprintf(m_errors, "tharsel: %s\n", message.c_str());
    }

    int Fail(const std::string& message)
    {
        Say(message);
        WriteReport(FormatFailureReport(m_title, message));
        WriteResults(nullptr);
        return kEngineNoCase;
    }

    void WriteReport(const std::string& text)
    {
        if (m_caseName.empty() || m_caseName.find_first_of("/\\:") != std::string::npos) {
            Say("the deck names no usable case, so no report is written");
            return;
        }
        const std::string path = InDirectory(m_caseName + ".out");
        if (!WriteWholeFile(path, text))
            Say("cannot write the report " + path);
    }

    void WriteResults(const CaseOutcome* outcome)
    {
        if (m_resultsPath.empty())
            return;
        if (!WriteWholeFile(m_resultsPath, FormatResultsCsv(outcome)))
            Say("cannot write the results file " + m_resultsPath);
    }

    std::string m_directory;
    std::FILE* m_errors;
    std::string m_caseName;
    std::string m_title;
    std::string m_resultsPath;
};

}  // namespace

int RunEngine(const std::string& directory, std::FILE* errors)
{
    EngineRun run(directory, errors);
    return run.Run();
}
