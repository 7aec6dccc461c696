#include "InputDeck.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace {

const char kLineEnd[] = "\r\n";

std::string PadRight(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

std::string PadLeft(const std::string& text, std::size_t width)
{
    if (text.size() >= width)
        return text;
    return std::string(width - text.size(), ' ') + text;
}

std::string Integer(int value, std::size_t width)
{
    return PadLeft(std::to_string(value), width);
}

std::string Real(double value)
{
    return PadRight(FormatFixed6(value), 12);
}

// A count as a loop bound: never below 0, never above ten.
int Bounded(int count, int limit)
{
    return std::clamp(count, 0, limit);
}

}  // namespace

std::string FormatFixed6(double value)
{
    // Wide enough for the largest double in fixed notation with six decimals.
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    if (result.ec != std::errc())
        return "nan";
    return std::string(text, result.ptr);
}

std::string FormatInputDeck(const CaseRecord& record, const RunTable& table)
{
    const int components = Bounded(record.m_componentCount, kMaxComponents);
    const int runs = Bounded(table.runCount, kMaxRuns);

    std::string deck;
    deck += PadRight(record.m_caseFile, 8) + ".out" + kLineEnd;
    deck += PadRight(record.m_caseTitle, 17) + kLineEnd;
    deck += Integer(record.m_componentCount, 5) + "    0" + Integer(table.runCount, 5) + kLineEnd;
    deck += Real(record.m_densityExponent) + kLineEnd;
    deck += Real(record.m_initialTemperature) + kLineEnd;
    deck += Real(record.m_cpA) + Real(record.m_cpB) + Real(record.m_cpC) + kLineEnd;

    const int options[8] = {record.m_deleteExitCalcs, record.m_ionicSpecies, record.m_boostAndNozzle,
                            record.m_pressureInAtm, 0, 0, 0, record.m_listAllSpecies};
    for (int option : options)
        deck += std::to_string(option);
    deck += kLineEnd;

    for (int c = 0; c < components; ++c)
        deck += Integer(table.ingredientId[c], 5);
    deck += kLineEnd;

    for (int r = 0; r < runs; ++r) {
        deck += Real(table.chamberPressure[r]) + Real(table.exhaustPressure[r]);
        for (int c = 0; c < components; ++c)
            deck += Real(table.mass[c][r]);
        deck += kLineEnd;
    }
    return deck;
}

void WriteInputDeck(std::FILE* deck, const CaseRecord& record, const RunTable& table)
{
    const std::string text = FormatInputDeck(record, table);
    std::fwrite(text.data(), 1, text.size(), deck);
}
