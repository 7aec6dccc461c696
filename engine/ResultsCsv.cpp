#include "ResultsCsv.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

const char* const kColumns[] = {
    "run", "status", "chamber_pressure_psia", "exhaust_pressure_psia", "chamber_temperature_K",
    "chamber_molecular_weight", "chamber_gamma", "chamber_cp_kJ_kgK", "throat_temperature_K",
    "throat_pressure_psia", "exit_temperature_K", "exit_molecular_weight", "exit_mach", "area_ratio",
    "cstar_m_s", "cf", "isp_m_s", "isp_vacuum_m_s", "density_isp", "frozen_exit_temperature_K",
    "frozen_area_ratio", "frozen_cstar_m_s", "frozen_isp_m_s", "frozen_isp_vacuum_m_s",
};

// Always with a decimal point, in the C locale's notation.
std::string Number(std::optional<double> value)
{
    if (!value || !std::isfinite(*value))
        return "";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%#.7g", *value);
    return buffer;
}

std::string Line(const CaseOutcome& outcome, const RunOutcome& run)
{
    const RocketResult& r = run.rocket;
    const bool chamber = r.chamber.converged;
    const bool exits = run.ok && r.shifting.computed && r.frozen.computed;
    auto when = [](bool computed, double value) { return computed ? std::optional<double>(value) : std::nullopt; };
    const MixtureProperties& c = r.chamber.properties;
    const Performance& s = r.shifting;
    const Performance& f = r.frozen;
    double densityIsp = 0.0;
    if (exits)
        densityIsp = s.isp / kStandardGravity * std::pow(run.propellant->density, outcome.deck.densityExponent);
    const std::vector<std::optional<double>> values{
        run.chamberPsia, run.exitPsia,
        when(chamber, c.temperature), when(chamber, c.molecularWeight), when(chamber, c.gammaEquilibrium),
        when(chamber, c.cpEquilibrium),
        when(exits, s.throat.properties.temperature), when(exits, s.throat.properties.pressure / kBarPerPsi),
        when(exits, s.exit.properties.temperature), when(exits, s.exit.properties.molecularWeight),
        when(exits, s.exit.mach), when(exits, s.exit.areaRatio), when(exits, s.cstar), when(exits, s.cf),
        when(exits, s.isp), when(exits, s.ispVacuum), when(exits, densityIsp),
        when(exits, f.exit.properties.temperature), when(exits, f.exit.areaRatio), when(exits, f.cstar),
        when(exits, f.isp), when(exits, f.ispVacuum),
    };
    std::string line = std::to_string(run.run) + "," + run.status;
    for (const std::optional<double>& value : values)
        line += "," + Number(value);
    return line;
}

}  // namespace

std::string ResultsCsvHeader()
{
    std::string header;
    for (const char* column : kColumns) {
        if (!header.empty())
            header += ",";
        header += column;
    }
    return header;
}

std::string FormatResultsCsv(const CaseOutcome* outcome)
{
    std::string text = ResultsCsvHeader() + "\n";
    if (outcome == nullptr)
        return text;
    for (const RunOutcome& run : outcome->runs)
        text += Line(*outcome, run) + "\n";
    return text;
}
