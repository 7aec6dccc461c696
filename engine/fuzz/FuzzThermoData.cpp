// Feeds any text to the thermochemical data reader, then evaluates every
// species it accepted across its range.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "SetupFile.h"
#include "ThermoData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ThermoReading reading = ReadThermoData(text);
    for (const Species& species : reading.species) {
        if (species.intervals.empty())
            __builtin_trap();
        PropertiesAt(species, species.LowestTemperature());
        PropertiesAt(species, species.HighestTemperature() + 100.0);
    }
    static const std::vector<std::string> kSomeElements{"C", "H", "O", "N", "AL", "E"};
    ReadThermoData(text, &kSomeElements);
    ReadSetupFile(text);
    return 0;
}
