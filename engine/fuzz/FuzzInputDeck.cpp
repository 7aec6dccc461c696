// Feeds any text to the deck reader; it must never read out of bounds nor
// store beyond ten components or runs.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "DeckReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const DeckReading reading = ReadInputDeck(std::string_view(reinterpret_cast<const char*>(data), size));
    if (reading.ok() && (reading.deck.componentCount < 1 || reading.deck.componentCount > 10 ||
                         reading.deck.runs.runCount < 1 || reading.deck.runs.runCount > 10))
        __builtin_trap();
    return 0;
}
