#include "Rocket.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kThroatIterations = 40;
constexpr double kThroatTolerance = 1e-9;  // on (u^2 - a^2) / a^2
constexpr int kAreaIterations = 40;

// Velocity from the enthalpy drop, J/g to m/s.
double Velocity(double chamberEnthalpy, double enthalpy)
{
    const double drop = chamberEnthalpy - enthalpy;
    return drop > 0.0 ? std::sqrt(2000.0 * drop) : 0.0;
}

class Expansion {
public:
    Expansion(const ChemicalSystem& system, const EquilibriumResult& chamber, bool frozen)
        : m_s(system), m_chamber(chamber), m_frozen(frozen) {}

    std::string failure;
    std::string note;

    // The state at pressure P (bar) on the chamber's isentrope.
    bool At(double pressure, const Composition* start, FlowPoint& point)
    {
        return m_frozen ? Frozen(pressure, point) : Shifting(pressure, start, point);
    }

    double Sound(const FlowPoint& point) const
    {
        return m_frozen ? point.properties.frozenSoundSpeed : point.properties.soundSpeed;
    }

    bool Throat(FlowPoint& throat)
    {
        const MixtureProperties& c = m_chamber.properties;
        const double gamma = m_frozen ? c.gammaFrozen : c.gammaEquilibrium;
        double lnP = std::log(c.pressure) - gamma / (gamma - 1.0) * std::log((gamma + 1.0) / 2.0);
        double lastLnP = 0.0, lastF = 0.0;
        const Composition* start = &m_chamber.composition;
        for (int k = 0; k < kThroatIterations; ++k) {
            if (!At(std::exp(lnP), start, throat))
                return false;
            start = &throat.composition;
            const double a = Sound(throat);
            const double f = (throat.velocity * throat.velocity - a * a) / (a * a);
            if (std::fabs(f) < kThroatTolerance)
                return true;
            double next;
            if (k == 0 || f == lastF) {
                const MixtureProperties& p = throat.properties;
                const double slope = (gamma + 1.0) * p.gasMoles * 1000.0 * kGasConstant * p.temperature / (a * a);
                next = lnP + f / slope;
            } else {
                next = lnP - f * (lnP - lastLnP) / (f - lastF);
            }
            lastLnP = lnP;
            lastF = f;
            lnP = std::min(next, std::log(c.pressure) - 1e-6);
        }
        failure = "the throat was not found";
        return false;
    }

    // The point where the area ratio to the throat is the one asked for, on
    // the supersonic side.
    bool AtAreaRatio(double areaRatio, const FlowPoint& throat, FlowPoint& point)
    {
        // For a perfect gas, ln(Pt/P) grows about as gamma ln(A/At) far out;
        // start from there and correct by the local slope.
        const double gamma = m_frozen ? throat.properties.gammaFrozen : throat.properties.gammaEquilibrium;
        double lnP = std::log(throat.properties.pressure) - (gamma * std::log(areaRatio) + 0.3 * gamma);
        const Composition* start = &throat.composition;
        double lastLnP = std::log(throat.properties.pressure), lastF = -std::log(areaRatio);
        for (int k = 0; k < kAreaIterations; ++k) {
            if (!At(std::exp(lnP), start, point))
                return false;
            start = &point.composition;
            point.areaRatio = throat.massFlux / point.massFlux;
            const double f = std::log(point.areaRatio) - std::log(areaRatio);
            if (std::fabs(f) < 1e-8)
                return true;
            const double next = lnP - f * (lnP - lastLnP) / (f - lastF);
            lastLnP = lnP;
            lastF = f;
            lnP = next;
        }
        failure = "the area ratio " + std::to_string(areaRatio) + " was not reached";
        return false;
    }

private:
    bool Finish(const Composition& composition, const MixtureProperties& properties, FlowPoint& point)
    {
        point.composition = composition;
        point.properties = properties;
        point.velocity = Velocity(m_chamber.properties.enthalpy, properties.enthalpy);
        point.mach = point.velocity / Sound(point);
        point.massFlux = properties.density * point.velocity;
        return true;
    }

    bool Shifting(double pressure, const Composition* start, FlowPoint& point)
    {
        Conditions conditions;
        conditions.held = Held::Entropy;
        conditions.pressure = pressure;
        conditions.entropy = m_chamber.properties.entropy;
        const EquilibriumResult result = SolveEquilibrium(m_s, conditions, start);
        if (!result.converged) {
            failure = result.failure;
            return false;
        }
        return Finish(result.composition, result.properties, point);
    }

    // Frozen: the chamber's composition, at the temperature where its
    // entropy at this pressure is the chamber's.
    bool Frozen(double pressure, FlowPoint& point)
    {
        Composition x = m_chamber.composition;
        x.pressure = pressure;
        const double target = m_chamber.properties.entropy;
        for (int k = 0; k < 50; ++k) {
            const MixtureProperties p = PropertiesOf(m_s, x, false);
            const double step = (target - p.entropy) / p.cpFrozen;
            x.temperature *= std::exp(std::clamp(step, -0.5, 0.5));
            if (std::fabs(step) < 1e-10) {
                NoteRange(x);
                return Finish(x, PropertiesOf(m_s, x, false), point);
            }
        }
        failure = "the frozen expansion did not converge";
        return false;
    }

    void NoteRange(const Composition& x)
    {
        for (std::size_t j = m_s.gasCount; j < m_s.SpeciesCount(); ++j) {
            const Species& species = *m_s.species[j];
            if (x.moles[j] > 0.0 && x.temperature < species.LowestTemperature() - 50.0 && note.empty())
                note = "frozen " + species.name + " is taken below its temperature range (from " +
                       std::to_string(static_cast<int>(species.LowestTemperature())) + " K)";
        }
    }

    const ChemicalSystem& m_s;
    const EquilibriumResult& m_chamber;
    bool m_frozen;
};

void Complete(Performance& performance, double chamberPressure)
{
    const FlowPoint& t = performance.throat;
    FlowPoint& e = performance.exit;
    performance.cstar = chamberPressure * 1e5 / t.massFlux;
    e.areaRatio = t.massFlux / e.massFlux;
    performance.isp = e.velocity;
    performance.ispVacuum = e.velocity + e.properties.pressure * 1e5 / e.massFlux;
    performance.cf = e.velocity / performance.cstar;
    performance.computed = true;
}

Performance Expand(const ChemicalSystem& system, const EquilibriumResult& chamber, double exitPressure,
                   bool frozen)
{
    Performance performance;
    Expansion expansion(system, chamber, frozen);
    performance.chamber.properties = chamber.properties;
    performance.chamber.composition = chamber.composition;
    performance.chamber.areaRatio = 0.0;
    if (!expansion.Throat(performance.throat)) {
        performance.failure = expansion.failure;
        return performance;
    }
    performance.throat.areaRatio = 1.0;
    if (!expansion.At(exitPressure, &performance.throat.composition, performance.exit)) {
        performance.failure = expansion.failure;
        return performance;
    }
    Complete(performance, chamber.properties.pressure);
    performance.note = expansion.note;
    return performance;
}

NozzleRow RowOf(const FlowPoint& point, const Performance& reference)
{
    NozzleRow row;
    row.point = point;
    row.isp = point.velocity;
    row.ispVacuum = point.velocity + point.properties.pressure * 1e5 / point.massFlux;
    row.cf = point.velocity / reference.cstar;
    return row;
}

std::vector<NozzleRow> DesignTable(const ChemicalSystem& system, const EquilibriumResult& chamber,
                                   const Performance& shifting)
{
    std::vector<NozzleRow> rows;
    Expansion expansion(system, chamber, false);
    for (double ratio : kTableAreaRatios) {
        FlowPoint point;
        if (ratio == 1.0) {
            point = shifting.throat;
        } else if (!expansion.AtAreaRatio(ratio, shifting.throat, point)) {
            continue;
        }
        rows.push_back(RowOf(point, shifting));
    }
    for (double ratio : kTablePressureRatios) {
        FlowPoint point;
        if (!expansion.At(chamber.properties.pressure / ratio, &shifting.throat.composition, point))
            continue;
        point.areaRatio = shifting.throat.massFlux / point.massFlux;
        rows.push_back(RowOf(point, shifting));
    }
    return rows;
}

// What a failed chamber's last estimate suggests about the propellant.
std::string FailureHint(const MixtureProperties& last)
{
    if (last.gasMoles < 1e-4)
        return "; almost no gas forms: the products are nearly all condensed";
    if (last.temperature <= 200.5)
        return "; the temperature fell to the lower end of the data: the propellant releases too little energy";
    return "";
}

}  // namespace

const std::vector<double> kTableAreaRatios = {1.0, 2.0, 4.0, 6.0, 8.0, 10.0, 15.0, 20.0, 30.0, 40.0, 50.0, 75.0, 100.0};
const std::vector<double> kTablePressureRatios = {10.0, 20.0, 34.0, 50.0, 68.046, 100.0, 200.0, 500.0, 1000.0};

RocketResult ComputeRocket(const ChemicalSystem& system, double enthalpy, const RocketInput& input)
{
    RocketResult result;
    Conditions conditions;
    conditions.held = Held::Enthalpy;
    conditions.pressure = input.chamberPressure;
    conditions.enthalpy = enthalpy;
    result.chamber = SolveEquilibrium(system, conditions, input.chamberStart);
    if (!result.chamber.converged) {
        result.status = "no-convergence";
        result.message = "chamber: " + result.chamber.failure + " (last estimate " +
                         std::to_string(static_cast<int>(result.chamber.properties.temperature)) + " K)" +
                         FailureHint(result.chamber.properties);
        return result;
    }
    result.ok = true;
    if (!input.exitCalculations)
        return result;
    if (!(input.exitPressure > 0.0) || !(input.exitPressure < input.chamberPressure)) {
        result.ok = false;
        result.status = "bad-exit-pressure";
        result.message = "the exhaust pressure must lie above 0 and below the chamber pressure";
        return result;
    }
    result.shifting = Expand(system, result.chamber, input.exitPressure, false);
    result.frozen = Expand(system, result.chamber, input.exitPressure, true);
    if (!result.shifting.computed || !result.frozen.computed) {
        result.ok = false;
        result.status = "no-convergence";
        result.message = !result.shifting.computed ? "shifting expansion: " + result.shifting.failure
                                                   : "frozen expansion: " + result.frozen.failure;
        return result;
    }
    if (input.nozzleTable)
        result.table = DesignTable(system, result.chamber, result.shifting);
    return result;
}
