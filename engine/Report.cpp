#include "Report.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

// Report blocks each start on a new page; a block longer than a page goes on
// over as many pages as it needs.
class Pages {
public:
    explicit Pages(std::string title) : m_title(std::move(title)) {}

    void Block(const Lines& lines)
    {
        const std::size_t body = kReportPageLines - 2;
        for (std::size_t first = 0; first < lines.size() || first == 0; first += body) {
            Heading();
            for (std::size_t k = first; k < lines.size() && k < first + body; ++k)
                m_text += lines[k] + "\n";
            if (lines.empty())
                break;
        }
    }

    const std::string& Text() const { return m_text; }

private:
    void Heading()
    {
        ++m_page;
        if (m_page > 1)
            m_text += "\n";
        m_text += Format("THARSEL   %-54s page %3d\n", m_title.c_str(), m_page);
        m_text += std::string(78, '=') + "\n";
    }

    std::string m_title;
    std::string m_text;
    int m_page = 0;
};

std::string FormulaText(const Formula& formula)
{
    std::string text;
    for (const FormulaTerm& term : formula) {
        if (!text.empty())
            text += " ";
        text += term.element + " " + Format("%g", term.count);
    }
    return text;
}

double Lbf(double metresPerSecond) { return metresPerSecond / kStandardGravity; }
double Feet(double metres) { return metres / kMetrePerFoot; }
double Psia(double bar) { return bar / kBarPerPsi; }
double Atm(double bar) { return bar / kBarPerAtm; }

void IngredientLines(const RunOutcome& run, Lines& lines);

Lines CaseLines(const CaseOutcome& outcome)
{
    Lines lines;
    const CaseOptions& o = outcome.options;
    lines.push_back(Format("Case %-8s  %s", outcome.caseName.c_str(), outcome.title.c_str()));
    lines.push_back(Format("Components %d, runs %d, initial temperature %.2f K, density exponent %.4f",
                           outcome.deck.componentCount, outcome.deck.runs.runCount,
                           outcome.deck.initialTemperature, outcome.deck.densityExponent));
    lines.push_back(Format("Solid specific heat Cp = %g + %g T + %g T^2 cal/(g K)", outcome.deck.cp[0],
                           outcome.deck.cp[1], outcome.deck.cp[2]));
    lines.push_back(Format("Options: exit calculations %s; ions %s; nozzle design data %s;",
                           o.deleteExitCalculations ? "off" : "on", o.ions ? "on" : "off",
                           o.boostAndNozzle ? "on" : "off"));
    lines.push_back(Format("         deck pressures in %s; species listed: %s",
                           o.pressureInAtm ? "atm" : "psia", o.listAllSpecies ? "all considered" : "above 5e-6"));
    lines.push_back("");
    if (!outcome.runs.empty() && outcome.runs[0].propellant)
        IngredientLines(outcome.runs[0], lines);
    return lines;
}

void IngredientLines(const RunOutcome& run, Lines& lines)
{
    const Propellant& p = *run.propellant;
    lines.push_back("INGREDIENTS");
    lines.push_back(" Comp   No.  Name                                   Weight   Fraction  DHF kJ/mol  g/cm3");
    for (std::size_t k = 0; k < p.components.size(); ++k) {
        const PropellantComponent& c = p.components[k];
        lines.push_back(Format(" %4zu %5d  %-36.36s %9.4f %10.6f %11.3f %6.3f", k + 1, c.number,
                               c.ingredient->name.c_str(), c.mass, c.fraction,
                               c.ingredient->heatOfFormation, c.ingredient->density));
        lines.push_back(Format("             %-.64s", FormulaText(c.ingredient->formula).c_str()));
    }
    lines.push_back(Format(" Total weight %.4f", p.totalMass));
    lines.push_back(Format(" Propellant density %.4f g/cm3 (%.5f lb/in3)", p.density, p.density * 0.0361273));
    lines.push_back(Format(" Propellant enthalpy %.2f kJ/kg (%.3f cal/g)", p.enthalpy, p.enthalpy / 4.184));
    lines.push_back(" Elemental composition, gram-atoms per 100 g:");
    std::string row;
    for (std::size_t i = 0; i < p.elements.size(); ++i) {
        row += Format("  %-2s %10.6f", p.elements[i].c_str(), p.elementMoles[i] * 100.0);
        if (i % 5 == 4 || i + 1 == p.elements.size()) {
            lines.push_back(row);
            row.clear();
        }
    }
    lines.push_back("");
}

struct Column {
    const char* label;
    const FlowPoint* point;
};

void StateTable(const char* heading, const std::vector<Column>& columns, bool frozen, Lines& lines)
{
    std::string head = Format("%-30s", heading);
    for (const Column& c : columns)
        head += Format("%12s", c.label);
    lines.push_back(head);
    auto row = [&](const char* label, auto value, const char* format) {
        std::string text = Format("  %-28s", label);
        for (const Column& c : columns) {
            const double v = value(*c.point);
            text += std::isnan(v) ? Format("%12s", "-") : Format(format, v);
        }
        lines.push_back(text);
    };
    row("Pressure, psia", [](const FlowPoint& f) { return Psia(f.properties.pressure); }, "%12.3f");
    row("Pressure, atm", [](const FlowPoint& f) { return Atm(f.properties.pressure); }, "%12.4f");
    row("Temperature, K", [](const FlowPoint& f) { return f.properties.temperature; }, "%12.2f");
    row("Molecular weight, g/mol", [](const FlowPoint& f) { return f.properties.molecularWeight; }, "%12.3f");
    row("Gamma (isentropic exponent)", [frozen](const FlowPoint& f) {
        return frozen ? f.properties.gammaFrozen : f.properties.gammaEquilibrium; }, "%12.4f");
    row("Cp, kJ/(kg K)", [frozen](const FlowPoint& f) {
        return frozen ? f.properties.cpFrozen : f.properties.cpEquilibrium; }, "%12.4f");
    row("Enthalpy, kJ/kg", [](const FlowPoint& f) { return f.properties.enthalpy; }, "%12.2f");
    row("Entropy, kJ/(kg K)", [](const FlowPoint& f) { return f.properties.entropy; }, "%12.4f");
    row("Density, kg/m3", [](const FlowPoint& f) { return f.properties.density; }, "%12.5g");
    row("Sound speed, m/s", [frozen](const FlowPoint& f) {
        return frozen ? f.properties.frozenSoundSpeed : f.properties.soundSpeed; }, "%12.1f");
    row("Sound speed, ft/s", [frozen](const FlowPoint& f) {
        return Feet(frozen ? f.properties.frozenSoundSpeed : f.properties.soundSpeed); }, "%12.1f");
    row("Velocity, m/s", [](const FlowPoint& f) { return f.velocity; }, "%12.1f");
    row("Mach number", [](const FlowPoint& f) { return f.mach; }, "%12.3f");
    if (columns.size() > 1)
        row("Area ratio A/At", [](const FlowPoint& f) {
            return f.areaRatio > 0.0 ? f.areaRatio : std::nan(""); }, "%12.4f");
}

void CompositionTable(const RunOutcome& run, const std::vector<Column>& columns, bool all, Lines& lines)
{
    const ChemicalSystem& s = *run.system;
    std::vector<std::vector<double>> fractions;
    for (const Column& c : columns)
        fractions.push_back(MoleFractions(c.point->composition));
    std::string head = Format("%-30s", "Mole fractions");
    for (const Column& c : columns)
        head += Format("%12s", c.label);
    lines.push_back(head);
    for (std::size_t j = 0; j < s.SpeciesCount(); ++j) {
        bool shown = all;
        for (const std::vector<double>& x : fractions)
            shown = shown || x[j] > 5e-6;
        if (!shown)
            continue;
        std::string text = Format("  %-28.28s", s.species[j]->name.c_str());
        for (const std::vector<double>& x : fractions)
            text += Format("%12.5e", x[j]);
        lines.push_back(text);
    }
}

void PerformanceLines(const char* heading, const Performance& p, double densityFactor, Lines& lines)
{
    lines.push_back(heading);
    lines.push_back(Format("  Characteristic velocity c*    %10.1f m/s   %10.1f ft/s", p.cstar, Feet(p.cstar)));
    lines.push_back(Format("  Thrust coefficient CF         %10.4f", p.cf));
    lines.push_back(Format("  Area ratio Ae/At              %10.4f", p.exit.areaRatio));
    lines.push_back(Format("  Specific impulse              %10.1f N s/kg %10.2f lbf s/lbm", p.isp, Lbf(p.isp)));
    lines.push_back(Format("  Vacuum specific impulse       %10.1f N s/kg %10.2f lbf s/lbm", p.ispVacuum,
                           Lbf(p.ispVacuum)));
    lines.push_back(Format("  Density specific impulse      %10.2f lbf s/lbm (g/cm3)^n", Lbf(p.isp) * densityFactor));
    lines.push_back(Format("  Exit velocity                 %10.1f m/s   %10.1f ft/s", p.exit.velocity,
                           Feet(p.exit.velocity)));
    if (!p.note.empty())
        lines.push_back("  Note: " + p.note);
}

void DesignLines(const RunOutcome& run, Lines& lines)
{
    const RocketResult& r = run.rocket;
    lines.push_back("NOZZLE DESIGN DATA (shifting equilibrium; Isp N s/kg and lbf s/lbm)");
    lines.push_back("    Ae/At      Pc/P   P, psia    P, atm     T, K   Mach     Isp  Isp lbf    Ivac  Ivac lbf      CF");
    const double pc = r.chamber.properties.pressure;
    for (const NozzleRow& row : r.table) {
        const MixtureProperties& p = row.point.properties;
        lines.push_back(Format(" %8.3f %9.3f %9.3f %9.4f %8.2f %6.3f %7.1f %8.2f %7.1f %9.2f %7.4f",
                               row.point.areaRatio, pc / p.pressure, Psia(p.pressure), Atm(p.pressure),
                               p.temperature, row.point.mach, row.isp, Lbf(row.isp), row.ispVacuum,
                               Lbf(row.ispVacuum), row.cf));
    }
    lines.push_back("");
    const Performance& s = r.shifting;
    const double seaLevel = s.ispVacuum - kBarPerAtm * 1e5 / s.exit.massFlux;
    lines.push_back(Format("IDEAL BOOST VELOCITIES (vacuum Isp %.1f, sea-level Isp %.1f N s/kg at Ae/At %.3f)",
                           s.ispVacuum, seaLevel, s.exit.areaRatio));
    lines.push_back("  Propellant mass   Vacuum       Vacuum       Sea level    Sea level");
    lines.push_back("  fraction          m/s          ft/s         m/s          ft/s");
    for (int k = 1; k <= 9; ++k) {
        const double zeta = k / 10.0;
        const double factor = std::log(1.0 / (1.0 - zeta));
        lines.push_back(Format("  %8.1f %14.1f %12.1f %12.1f %12.1f", zeta, s.ispVacuum * factor,
                               Feet(s.ispVacuum * factor), seaLevel * factor, Feet(seaLevel * factor)));
    }
}

Lines RunLines(const CaseOutcome& outcome, const RunOutcome& run)
{
    Lines lines;
    lines.push_back(Format("RUN %d   chamber pressure %.3f psia (%.4f atm), exhaust pressure %.3f psia (%.4f atm)",
                           run.run, run.chamberPsia, run.chamberPsia / kPsiPerAtm, run.exitPsia,
                           run.exitPsia / kPsiPerAtm));
    lines.push_back("");
    if (run.propellant && outcome.runs.size() > 1)
        IngredientLines(run, lines);
    if (!run.rocket.chamber.converged || !run.system) {
        lines.push_back("RUN FAILED: " + run.message);
        return lines;
    }
    const RocketResult& r = run.rocket;
    const FlowPoint chamber{r.chamber.properties, r.chamber.composition};
    const bool exits = r.shifting.computed;
    std::vector<Column> columns{{"CHAMBER", exits ? &r.shifting.chamber : &chamber}};
    if (exits) {
        columns.push_back({"THROAT", &r.shifting.throat});
        columns.push_back({"EXIT", &r.shifting.exit});
    }
    StateTable(exits ? "SHIFTING EQUILIBRIUM" : "CHAMBER (exit calculations off)", columns, false, lines);
    lines.push_back("");
    const bool all = outcome.options.listAllSpecies;
    CompositionTable(run, columns, all, lines);
    lines.push_back("");
    if (!run.ok) {
        lines.push_back("RUN FAILED: " + run.message);
        return lines;
    }
    if (!exits)
        return lines;
    const double densityFactor = std::pow(run.propellant->density, outcome.deck.densityExponent);
    PerformanceLines("PERFORMANCE, SHIFTING EQUILIBRIUM", r.shifting, densityFactor, lines);
    lines.push_back("");
    const std::vector<Column> frozen{{"CHAMBER", &r.frozen.chamber}, {"THROAT", &r.frozen.throat},
                                     {"EXIT", &r.frozen.exit}};
    StateTable("FROZEN COMPOSITION", frozen, true, lines);
    lines.push_back("  (composition frozen at the chamber's)");
    lines.push_back("");
    PerformanceLines("PERFORMANCE, FROZEN COMPOSITION", r.frozen, densityFactor, lines);
    lines.push_back("");
    if (outcome.options.boostAndNozzle)
        DesignLines(run, lines);
    return lines;
}

Lines SummaryLines(const CaseOutcome& outcome)
{
    Lines lines;
    lines.push_back("SUMMARY OF RUNS (shifting equilibrium; pressures psia, temperatures K, c* m/s,");
    lines.push_back("                 Isp lbf s/lbm, density Isp lbf s/lbm (g/cm3)^n)");
    std::string head = " Run      Pc      Pe";
    const int n = outcome.deck.componentCount;
    for (int k = 0; k < n; ++k)
        head += Format("   Mass %-2d", k + 1);
    head += "      Tc      Te     c*     Isp    Ivac   d-Isp";
    lines.push_back(head);
    for (const RunOutcome& run : outcome.runs) {
        std::string text = Format(" %3d %7.1f %7.3f", run.run, run.chamberPsia, run.exitPsia);
        for (double mass : run.masses)
            text += Format(" %9.4f", mass);
        const RocketResult& r = run.rocket;
        if (!run.ok) {
            text += "  failed: " + run.status;
        } else if (!r.shifting.computed) {
            text += Format(" %7.1f", r.chamber.properties.temperature);
        } else {
            const double factor = std::pow(run.propellant->density, outcome.deck.densityExponent);
            text += Format(" %7.1f %7.1f %6.1f %7.2f %7.2f %7.2f", r.chamber.properties.temperature,
                           r.shifting.exit.properties.temperature, r.shifting.cstar, Lbf(r.shifting.isp),
                           Lbf(r.shifting.ispVacuum), Lbf(r.shifting.isp) * factor);
        }
        lines.push_back(text);
    }
    return lines;
}

}  // namespace

std::string FormatReport(const CaseOutcome& outcome)
{
    Pages pages(outcome.title);
    pages.Block(CaseLines(outcome));
    for (const RunOutcome& run : outcome.runs)
        pages.Block(RunLines(outcome, run));
    if (outcome.runs.size() > 1)
        pages.Block(SummaryLines(outcome));
    return pages.Text();
}

std::string FormatFailureReport(const std::string& title, const std::string& message)
{
    Pages pages(title);
    pages.Block({"The case could not be computed:", "  " + message});
    return pages.Text();
}
