#include "Equilibrium.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "LinearSystem.h"

namespace {

// ln(n_j/n) below which a gas counts as a trace: its step is limited so that
// it cannot jump out of the traces in one iteration.
constexpr double kTraceLog = -18.420681;
// The floor of ln(n_j/n): far below anything that matters, and above underflow.
constexpr double kFloorLog = -87.0;
constexpr double kConvergence = 0.5e-5;
constexpr double kTemperatureConvergence = 1.0e-4;
constexpr int kMaxIterations = 300;
constexpr int kMaxRounds = 80;
// A condensed phase is used a little past its fitted range, so that two
// phases meeting at a transition temperature can both stand there.
constexpr double kRangeTolerance = 0.5;  // K
// Gas fits start at 200 K; an iterate below is held there.
constexpr double kLowestTemperature = 200.0;
// A set of species that has not converged after this many iterations is
// given the condensed species that would lower the Gibbs energy most: when
// the products are mostly condensed, the gases alone may have no solution.
constexpr int kStuckIterations = 40;
constexpr int kMostRemovals = 3;
constexpr double kTopOfData = 6000.0;  // K, where NASA's condensed fits end
constexpr double kHighestTemperature = 20000.0;

bool Contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool UsesOnly(const Species& species, const std::vector<std::string>& elements)
{
    for (const FormulaTerm& term : species.formula) {
        if (!Contains(elements, term.element))
            return false;
    }
    return true;
}

bool InRange(const Species& species, double t)
{
    return t >= species.LowestTemperature() - kRangeTolerance &&
           t <= species.HighestTemperature() + kRangeTolerance;
}

bool SameFormula(const Species& a, const Species& b)
{
    if (a.formula.size() != b.formula.size())
        return false;
    for (const FormulaTerm& term : a.formula) {
        if (std::fabs(CountOf(b.formula, term.element) - term.count) > 1e-9)
            return false;
    }
    return true;
}

}  // namespace

std::optional<ChemicalSystem> BuildChemicalSystem(const std::vector<Species>& data,
                                                  const std::vector<std::string>& elements,
                                                  const std::vector<double>& elementMoles,
                                                  bool ions, std::string& message)
{
    ChemicalSystem system;
    system.elements = elements;
    system.elementMoles = elementMoles;
    std::vector<std::string> allowed = elements;
    if (ions)
        allowed.push_back("E");
    std::vector<const Species*> gases, condensed;
    bool anyIon = false;
    for (const Species& species : data) {
        if (!UsesOnly(species, allowed))
            continue;
        if (species.IsIon() && !ions)
            continue;
        anyIon = anyIon || species.IsIon();
        (species.condensed ? condensed : gases).push_back(&species);
    }
    if (ions && anyIon) {
        system.elements.push_back("E");
        system.elementMoles.push_back(0.0);
    }
    std::vector<std::string> missing;
    for (const std::string& element : elements) {
        bool found = false;
        for (const Species* species : gases)
            found = found || CountOf(species->formula, element) != 0.0;
        if (!found)
            missing.push_back(element);
    }
    if (!missing.empty()) {
        message = "no gaseous species of the thermochemical data contains";
        for (const std::string& element : missing)
            message += " " + element;
        return std::nullopt;
    }
    system.species = gases;
    system.species.insert(system.species.end(), condensed.begin(), condensed.end());
    system.gasCount = gases.size();
    const std::size_t m = system.elements.size();
    system.atoms.assign(system.species.size() * m, 0.0);
    system.phaseGroup.assign(system.species.size(), -1);
    for (std::size_t j = 0; j < system.species.size(); ++j) {
        for (std::size_t i = 0; i < m; ++i)
            system.atoms[j * m + i] = CountOf(system.species[j]->formula, system.elements[i]);
    }
    int groups = 0;
    for (std::size_t j = system.gasCount; j < system.species.size(); ++j) {
        for (std::size_t k = system.gasCount; k < j && system.phaseGroup[j] < 0; ++k) {
            if (SameFormula(*system.species[j], *system.species[k]))
                system.phaseGroup[j] = system.phaseGroup[k];
        }
        if (system.phaseGroup[j] < 0)
            system.phaseGroup[j] = groups++;
    }
    return system;
}

namespace {

// The part of the equations that the iteration and the derivatives share:
// the coefficients of pi_i, dn_c and dln n in the element rows, of pi_i in
// the condensed rows and in the gas-mole row.  Unknowns and rows are ordered
// elements, condensed species, gas moles.
void AssembleComposition(const ChemicalSystem& s, const std::vector<double>& gasMoles,
                         const std::vector<std::size_t>& cond, LinearSystem& ls)
{
    const std::size_t m = s.ElementCount(), nc = cond.size(), iN = m + nc;
    for (std::size_t j = 0; j < s.gasCount; ++j) {
        for (std::size_t k = 0; k < m; ++k) {
            const double w = s.Atoms(j, k) * gasMoles[j];
            if (w == 0.0)
                continue;
            for (std::size_t i = 0; i < m; ++i)
                ls.A(k, i) += w * s.Atoms(j, i);
            ls.A(k, iN) += w;
            ls.A(iN, k) += w;
        }
    }
    for (std::size_t q = 0; q < nc; ++q) {
        for (std::size_t i = 0; i < m; ++i) {
            ls.A(i, m + q) = s.Atoms(cond[q], i);
            ls.A(m + q, i) = s.Atoms(cond[q], i);
        }
    }
}

class Solver {
public:
    Solver(const ChemicalSystem& system, const Conditions& conditions, const Composition* start)
        : m_s(system), m_c(conditions)
    {
        const std::size_t count = system.SpeciesCount();
        m_excluded.assign(count, 0);
        m_removals.assign(count, 0);
        if (start != nullptr && start->moles.size() == count) {
            m_x = *start;
        } else {
            m_x.temperature = conditions.temperature > 0.0 ? conditions.temperature : 3800.0;
            m_x.gasMoles = 0.1;
            m_x.moles.assign(count, 0.0);
            m_x.active.assign(count, 0);
            for (std::size_t j = 0; j < system.gasCount; ++j)
                m_x.moles[j] = 0.1 / static_cast<double>(system.gasCount);
        }
        if (conditions.held == Held::Temperature)
            m_x.temperature = conditions.temperature;
        m_x.pressure = conditions.pressure;
        m_x.lagrange.assign(system.ElementCount(), 0.0);
        m_lnn = std::log(std::max(m_x.gasMoles, 1e-12));
        m_lnN.assign(system.gasCount, 0.0);
        for (std::size_t j = 0; j < system.gasCount; ++j)
            m_lnN[j] = m_x.moles[j] > 0.0 ? std::log(m_x.moles[j]) : m_lnn + kFloorLog;
    }

    EquilibriumResult Run()
    {
        EquilibriumResult result;
        for (int round = 0; round < kMaxRounds; ++round) {
            const Step step = Newton();
            if (step == Step::Removed)
                continue;
            if (step == Step::Stuck && InsertCondensed())
                continue;
            if (step == Step::Singular && m_lastInserted != kNone) {
                Deactivate(m_lastInserted);
                m_excluded[m_lastInserted] = 1;
                m_lastInserted = kNone;
                continue;
            }
            if (step != Step::Converged) {
                result.failure = step == Step::Singular
                                     ? "the equilibrium equations became singular"
                                     : "the equilibrium did not converge";
                return Finish(result);
            }
            m_lastInserted = kNone;
            if (FixPhaseRanges() || InsertCondensed())
                continue;
            result.converged = true;
            return Finish(result);
        }
        result.failure = "the set of condensed species did not settle";
        return Finish(result);
    }

private:
    enum class Step { Converged, Removed, Singular, Stuck, Diverged };
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    EquilibriumResult& Finish(EquilibriumResult& result)
    {
        SyncMoles();
        result.composition = m_x;
        result.iterations = m_iterations;
        result.properties = PropertiesOf(m_s, m_x, result.converged);
        return result;
    }

    void SyncMoles()
    {
        m_x.gasMoles = std::exp(m_lnn);
        for (std::size_t j = 0; j < m_s.gasCount; ++j)
            m_x.moles[j] = std::exp(m_lnN[j]);
    }

    void Deactivate(std::size_t j)
    {
        m_x.active[j] = 0;
        m_x.moles[j] = 0.0;
    }

    std::vector<std::size_t> ActiveCondensed() const
    {
        std::vector<std::size_t> list;
        for (std::size_t j = m_s.gasCount; j < m_s.SpeciesCount(); ++j) {
            if (m_x.active[j])
                list.push_back(j);
        }
        return list;
    }

    // The values one Newton iteration is built from.
    struct Terms {
        std::vector<SpeciesProperties> p;
        std::vector<double> mu;        // mu_j / RT
        std::vector<double> nj;        // gas moles
        std::vector<double> sigma;     // S_j / R of each gas in the mixture
        std::vector<double> b;         // element amounts of the current moles
        std::vector<std::size_t> cond; // active condensed species
        double n = 0.0, sumN = 0.0, total = 0.0;
        double sumNH = 0.0, sumNMu = 0.0, sumNHMu = 0.0, sumNHH = 0.0, sumNCp = 0.0;
        double sumNS = 0.0, sumNSMu = 0.0, sumNHS = 0.0, sumNHAll = 0.0, sumNSAll = 0.0;
    };

    void Evaluate(Terms& e) const
    {
        const std::size_t count = m_s.SpeciesCount(), m = m_s.ElementCount();
        const double t = m_x.temperature, lnP = std::log(m_x.pressure);
        e = Terms();
        e.p.resize(count);
        e.mu.assign(count, 0.0);
        e.nj.assign(m_s.gasCount, 0.0);
        e.sigma.assign(m_s.gasCount, 0.0);
        e.b.assign(m, 0.0);
        e.cond = ActiveCondensed();
        e.n = std::exp(m_lnn);
        for (std::size_t j = 0; j < m_s.gasCount; ++j) {
            const SpeciesProperties& p = e.p[j] = PropertiesAt(*m_s.species[j], t);
            const double nj = e.nj[j] = std::exp(m_lnN[j]);
            e.mu[j] = p.h - p.s + m_lnN[j] - m_lnn + lnP;
            e.sigma[j] = p.s - (m_lnN[j] - m_lnn) - lnP;
            e.sumN += nj;
            e.sumNH += nj * p.h;
            e.sumNMu += nj * e.mu[j];
            e.sumNHMu += nj * p.h * e.mu[j];
            e.sumNHH += nj * p.h * p.h;
            e.sumNCp += nj * p.cp;
            e.sumNS += nj * e.sigma[j];
            e.sumNSMu += nj * e.sigma[j] * e.mu[j];
            e.sumNHS += nj * p.h * e.sigma[j];
            AddAtoms(j, nj, e.b);
        }
        e.total = e.sumN;
        e.sumNHAll = e.sumNH;
        e.sumNSAll = e.sumNS;
        for (std::size_t c : e.cond) {
            const SpeciesProperties& p = e.p[c] = PropertiesAt(*m_s.species[c], t);
            const double nc = m_x.moles[c];
            e.mu[c] = p.h - p.s;
            e.sumNCp += nc * p.cp;
            e.sumNHAll += nc * p.h;
            e.sumNSAll += nc * p.s;
            e.total += nc;
            AddAtoms(c, nc, e.b);
        }
    }

    void AddAtoms(std::size_t j, double amount, std::vector<double>& b) const
    {
        for (std::size_t i = 0; i < b.size(); ++i)
            b[i] += m_s.Atoms(j, i) * amount;
    }

    // Unknowns: pi_i, then dn_c of each active condensed species, dln n and,
    // unless the temperature is held, dln T.  Rows in the same order: the
    // elements, the condensed species, the gas moles, the held property.
    void Assemble(const Terms& e, bool withT, LinearSystem& ls) const
    {
        const std::size_t m = m_s.ElementCount(), nc = e.cond.size();
        const std::size_t iN = m + nc, iT = m + nc + 1;
        AssembleComposition(m_s, e.nj, e.cond, ls);
        for (std::size_t k = 0; k < m; ++k) {
            ls.B(k) = m_s.elementMoles[k] - e.b[k] + GasSum(e, k, [&e](std::size_t j) { return e.mu[j]; });
            if (withT)
                ls.A(k, iT) = GasSum(e, k, [&e](std::size_t j) { return e.p[j].h; });
        }
        for (std::size_t q = 0; q < nc; ++q) {
            if (withT)
                ls.A(m + q, iT) = e.p[e.cond[q]].h;
            ls.B(m + q) = e.mu[e.cond[q]];
        }
        ls.A(iN, iN) = e.sumN - e.n;
        if (withT)
            ls.A(iN, iT) = e.sumNH;
        ls.B(iN) = e.n - e.sumN + e.sumNMu;
        if (m_c.held == Held::Enthalpy)
            AssembleEnthalpyRow(e, ls);
        else if (m_c.held == Held::Entropy)
            AssembleEntropyRow(e, ls);
    }

    // The sum over gases of a_ij n_j times a weight of each gas.
    template <class Weight>
    double GasSum(const Terms& e, std::size_t i, Weight weight) const
    {
        double sum = 0.0;
        for (std::size_t j = 0; j < m_s.gasCount; ++j) {
            const double a = m_s.Atoms(j, i);
            if (a != 0.0)
                sum += a * e.nj[j] * weight(j);
        }
        return sum;
    }

    void AssembleEnthalpyRow(const Terms& e, LinearSystem& ls) const
    {
        const std::size_t m = m_s.ElementCount(), nc = e.cond.size(), iN = m + nc, iT = m + nc + 1;
        for (std::size_t i = 0; i < m; ++i)
            ls.A(iT, i) = GasSum(e, i, [&e](std::size_t j) { return e.p[j].h; });
        for (std::size_t q = 0; q < nc; ++q)
            ls.A(iT, m + q) = e.p[e.cond[q]].h;
        ls.A(iT, iN) = e.sumNH;
        ls.A(iT, iT) = e.sumNCp + e.sumNHH;
        ls.B(iT) = m_c.enthalpy / (kGasConstant * m_x.temperature) - e.sumNHAll + e.sumNHMu;
    }

    void AssembleEntropyRow(const Terms& e, LinearSystem& ls) const
    {
        const std::size_t m = m_s.ElementCount(), nc = e.cond.size(), iN = m + nc, iT = m + nc + 1;
        for (std::size_t i = 0; i < m; ++i)
            ls.A(iT, i) = GasSum(e, i, [&e](std::size_t j) { return e.sigma[j]; });
        for (std::size_t q = 0; q < nc; ++q)
            ls.A(iT, m + q) = e.p[e.cond[q]].s;
        ls.A(iT, iN) = e.sumNS;
        ls.A(iT, iT) = e.sumNCp + e.sumNHS;
        ls.B(iT) = m_c.entropy / kGasConstant - e.sumNSAll + e.n - e.sumN + e.sumNSMu;
    }

    // The changes of ln n_j of the gases from the solution.
    std::vector<double> GasSteps(const Terms& e, const std::vector<double>& x, double dlnn, double dlnT) const
    {
        std::vector<double> dlnN(m_s.gasCount);
        for (std::size_t j = 0; j < m_s.gasCount; ++j) {
            double sum = 0.0;
            for (std::size_t i = 0; i < m_s.ElementCount(); ++i)
                sum += m_s.Atoms(j, i) * x[i];
            dlnN[j] = -e.mu[j] + sum + dlnn + e.p[j].h * dlnT;
        }
        return dlnN;
    }

    bool Converged(const Terms& e, const std::vector<double>& x, const std::vector<double>& dlnN,
                   double dlnn, double dlnT) const
    {
        if (e.n * std::fabs(dlnn) / e.total > kConvergence || std::fabs(dlnT) > kTemperatureConvergence)
            return false;
        for (std::size_t j = 0; j < m_s.gasCount; ++j) {
            if (e.nj[j] * std::fabs(dlnN[j]) / e.total > kConvergence)
                return false;
        }
        const std::size_t m = m_s.ElementCount();
        for (std::size_t q = 0; q < e.cond.size(); ++q) {
            if (std::fabs(x[m + q]) / e.total > kConvergence)
                return false;
        }
        const double largest = *std::max_element(m_s.elementMoles.begin(), m_s.elementMoles.end());
        for (std::size_t k = 0; k < m; ++k) {
            if (std::fabs(m_s.elementMoles[k] - e.b[k]) > 1e-6 * largest)
                return false;
        }
        return true;
    }

    // The damping of the step: no gas of weight may grow more than e^2 and the
    // temperature and total moles not more than e^0.4 in one step, and a trace
    // species may not rise out of the traces (ln(n_j/n) past -9.2).
    double StepSize(const std::vector<double>& dlnN, double dlnn, double dlnT) const
    {
        double largest = std::max(5.0 * std::fabs(dlnT), 5.0 * std::fabs(dlnn));
        double trace = 1.0;
        for (std::size_t j = 0; j < m_s.gasCount; ++j) {
            const double relative = m_lnN[j] - m_lnn;
            if (relative > kTraceLog) {
                if (dlnN[j] > 0.0)
                    largest = std::max(largest, dlnN[j]);
            } else if (dlnN[j] >= 0.0 && dlnN[j] - dlnn != 0.0) {
                trace = std::min(trace, std::fabs((-relative - 9.2103404) / (dlnN[j] - dlnn)));
            }
        }
        return std::min({1.0, largest > 2.0 ? 2.0 / largest : 1.0, trace});
    }

    // Applies a step; true when a condensed species ran out and left the set.
    bool Apply(const Terms& e, const std::vector<double>& x, const std::vector<double>& dlnN, double dlnn,
               double dlnT, double lambda)
    {
        m_lnn += lambda * dlnn;
        for (std::size_t j = 0; j < m_s.gasCount; ++j)
            m_lnN[j] = std::max(m_lnN[j] + lambda * dlnN[j], m_lnn + kFloorLog);
        if (m_c.held != Held::Temperature) {
            m_x.temperature = std::clamp(m_x.temperature * std::exp(lambda * dlnT), kLowestTemperature,
                                         kHighestTemperature);
        }
        bool removed = false;
        const std::size_t m = m_s.ElementCount();
        for (std::size_t q = 0; q < e.cond.size(); ++q) {
            const std::size_t c = e.cond[q];
            m_x.moles[c] += lambda * x[m + q];
            if (m_x.moles[c] > 0.0)
                continue;
            Deactivate(c);
            // A phase that keeps being brought in and thrown out lies on the
            // border of stability; it stays out.
            if (++m_removals[c] >= kMostRemovals)
                m_excluded[c] = 1;
            removed = true;
        }
        return removed;
    }

    Step Newton()
    {
        const std::size_t m = m_s.ElementCount();
        const bool withT = m_c.held != Held::Temperature;
        Terms e;
        std::vector<double> x;
        for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
            ++m_iterations;
            Evaluate(e);
            const std::size_t nc = e.cond.size();
            LinearSystem ls(m + nc + 1 + (withT ? 1 : 0));
            Assemble(e, withT, ls);
            if (!ls.Solve(x))
                return Step::Singular;
            const double dlnn = x[m + nc];
            const double dlnT = withT ? x[m + nc + 1] : 0.0;
            const std::vector<double> dlnN = GasSteps(e, x, dlnn, dlnT);
            const bool converged = Converged(e, x, dlnN, dlnn, dlnT);
            std::copy(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(m), m_x.lagrange.begin());
            const bool removed = Apply(e, x, dlnN, dlnn, dlnT, StepSize(dlnN, dlnn, dlnT));
            if (!std::isfinite(m_lnn) || !std::isfinite(m_x.temperature))
                return Step::Diverged;
            if (removed)
                return Step::Removed;
            if (converged)
                return Step::Converged;
            if (iteration + 1 == kStuckIterations && HasInsertCandidate())
                return Step::Stuck;
        }
        return Step::Diverged;
    }

    // Replaces a condensed phase whose range the temperature has left by the
    // phase of the same substance that covers it.  A swap that would undo an
    // earlier one keeps both phases: they then meet at their transition.
    bool FixPhaseRanges()
    {
        const double t = m_x.temperature;
        for (std::size_t c : ActiveCondensed()) {
            const Species& species = *m_s.species[c];
            if (InRange(species, t) || AboveTopPhase(c, t))
                continue;
            std::size_t other = kNone;
            for (std::size_t k = m_s.gasCount; k < m_s.SpeciesCount(); ++k) {
                if (k != c && m_s.phaseGroup[k] == m_s.phaseGroup[c] && Covers(*m_s.species[k], t))
                    other = k;
            }
            if (other == kNone || m_x.active[other]) {
                if (other != kNone)
                    m_x.moles[other] += m_x.moles[c];
                Deactivate(c);
                return true;
            }
            m_x.active[other] = 1;
            m_x.moles[other] = m_x.moles[c];
            if (m_swaps.count({other, c}) != 0) {
                m_x.moles[other] *= 0.5;
                m_x.moles[c] *= 0.5;
            } else {
                Deactivate(c);
            }
            m_swaps.insert({c, other});
            return true;
        }
        return false;
    }

    // Liquids whose fit runs to the end of the data (6000 K) are taken on
    // above it: the fit extrapolates better than the substance can be left
    // out.  A phase whose range ends lower ends where the substance boils.
    bool AboveTopPhase(std::size_t j, double t) const
    {
        const Species& species = *m_s.species[j];
        if (t <= species.HighestTemperature() || species.HighestTemperature() < kTopOfData)
            return false;
        for (std::size_t k = m_s.gasCount; k < m_s.SpeciesCount(); ++k) {
            if (m_s.phaseGroup[k] == m_s.phaseGroup[j] &&
                m_s.species[k]->HighestTemperature() > species.HighestTemperature())
                return false;
        }
        return true;
    }

    bool HasInsertCandidate() const { return BestCandidate() != kNone; }

    // Brings in the condensed species that lowers the Gibbs energy most.
    bool InsertCondensed()
    {
        const std::size_t best = BestCandidate();
        if (best == kNone)
            return false;
        m_x.active[best] = 1;
        m_x.moles[best] = 0.0;
        m_lastInserted = best;
        return true;
    }

    std::size_t BestCandidate() const
    {
        const double t = m_x.temperature;
        const std::size_t m = m_s.ElementCount();
        std::set<int> present;
        for (std::size_t c : ActiveCondensed())
            present.insert(m_s.phaseGroup[c]);
        std::size_t best = kNone;
        double bestValue = -1e-9;
        for (std::size_t j = m_s.gasCount; j < m_s.SpeciesCount(); ++j) {
            if (m_x.active[j] || m_excluded[j] || present.count(m_s.phaseGroup[j]) != 0)
                continue;
            const Species& species = *m_s.species[j];
            if (!Covers(species, t) && !AboveTopPhase(j, t))
                continue;
            const SpeciesProperties p = PropertiesAt(species, t);
            double value = p.h - p.s;
            for (std::size_t i = 0; i < m; ++i)
                value -= m_s.Atoms(j, i) * m_x.lagrange[i];
            if (value < bestValue) {
                bestValue = value;
                best = j;
            }
        }
        return best;
    }

    const ChemicalSystem& m_s;
    Conditions m_c;
    Composition m_x;
    double m_lnn = 0.0;
    std::vector<double> m_lnN;
    std::vector<char> m_excluded;
    std::vector<int> m_removals;
    std::set<std::pair<std::size_t, std::size_t>> m_swaps;
    std::size_t m_lastInserted = kNone;
    int m_iterations = 0;
};

// Solves the derivative equations of an equilibrium for one right-hand side:
// d(pi)/dx, d(n_c)/dx and d(ln n)/dx, x being ln T or ln P.
bool SolveDerivatives(const ChemicalSystem& s, const Composition& x,
                      const std::vector<std::size_t>& cond, const std::vector<SpeciesProperties>& p,
                      bool temperature, std::vector<double>& out)
{
    const std::size_t m = s.ElementCount(), nc = cond.size(), iN = m + nc;
    LinearSystem ls(m + nc + 1);
    std::vector<double> gasMoles(x.moles.begin(), x.moles.begin() + static_cast<std::ptrdiff_t>(s.gasCount));
    AssembleComposition(s, gasMoles, cond, ls);
    double total = 0.0;
    for (std::size_t j = 0; j < s.gasCount; ++j) {
        const double rhs = temperature ? -x.moles[j] * p[j].h : x.moles[j];
        for (std::size_t k = 0; k < m; ++k)
            ls.B(k) += s.Atoms(j, k) * rhs;
        total += rhs;
    }
    for (std::size_t q = 0; q < nc; ++q)
        ls.B(m + q) = temperature ? -p[cond[q]].h : 0.0;
    ls.B(iN) = total;
    return ls.Solve(out);
}

}  // namespace

EquilibriumResult SolveEquilibrium(const ChemicalSystem& system, const Conditions& conditions,
                                   const Composition* start)
{
    EquilibriumResult result = Solver(system, conditions, start).Run();
    if (result.converged || conditions.held == Held::Temperature)
        return result;
    // Mostly condensed products can leave the gases alone without a state of
    // the held enthalpy or entropy, and the first estimate then leads nowhere.
    // An equilibrium at a fixed temperature always exists and brings the
    // condensed phases in; it is the better start.
    std::vector<double> guesses{3000.0, 2000.0, 1000.0, 4500.0};
    if (start != nullptr)
        guesses.insert(guesses.begin(), start->temperature);
    for (double temperature : guesses) {
        Conditions fixed = conditions;
        fixed.held = Held::Temperature;
        fixed.temperature = temperature;
        const EquilibriumResult seed = Solver(system, fixed, nullptr).Run();
        if (!seed.converged)
            continue;
        EquilibriumResult again = Solver(system, conditions, &seed.composition).Run();
        again.iterations += result.iterations + seed.iterations;
        if (again.converged)
            return again;
    }
    return result;
}

MixtureProperties PropertiesOf(const ChemicalSystem& s, const Composition& x, bool equilibrium)
{
    MixtureProperties r;
    const double t = x.temperature;
    r.temperature = t;
    r.pressure = x.pressure;
    std::vector<SpeciesProperties> p(s.SpeciesCount());
    double n = 0.0, h = 0.0, entropy = 0.0, cp = 0.0, nh = 0.0, nhh = 0.0;
    for (std::size_t j = 0; j < s.gasCount; ++j)
        n += x.moles[j];
    const double lnP = std::log(x.pressure);
    for (std::size_t j = 0; j < s.SpeciesCount(); ++j) {
        const double amount = x.moles[j];
        if (amount <= 0.0)
            continue;
        p[j] = PropertiesAt(*s.species[j], t);
        h += amount * p[j].h;
        cp += amount * p[j].cp;
        if (s.IsCondensed(j)) {
            entropy += amount * p[j].s;
        } else {
            entropy += amount * (p[j].s - std::log(amount / n) - lnP);
            nh += amount * p[j].h;
            nhh += amount * p[j].h * p[j].h;
        }
    }
    r.gasMoles = n;
    r.molecularWeight = 1.0 / n;
    r.enthalpy = h * kGasConstant * t;
    r.entropy = entropy * kGasConstant;
    r.density = x.pressure * 1e5 / (n * 1000.0 * kGasConstant * t);
    r.cpFrozen = cp * kGasConstant;
    r.gammaFrozen = cp / (cp - n);
    r.frozenSoundSpeed = std::sqrt(r.gammaFrozen * n * 1000.0 * kGasConstant * t);
    r.cpEquilibrium = r.cpFrozen;
    r.gammaEquilibrium = r.gammaFrozen;
    r.soundSpeed = r.frozenSoundSpeed;
    if (!equilibrium)
        return r;
    // One phase of each substance: two phases at their transition would make
    // the temperature derivatives singular.
    std::vector<std::size_t> cond;
    for (std::size_t j = s.gasCount; j < s.SpeciesCount(); ++j) {
        if (!x.active[j] || x.moles[j] <= 0.0)
            continue;
        bool replaced = false;
        for (std::size_t& c : cond) {
            if (s.phaseGroup[c] == s.phaseGroup[j]) {
                if (x.moles[j] > x.moles[c])
                    c = j;
                replaced = true;
            }
        }
        if (!replaced)
            cond.push_back(j);
    }
    std::vector<double> dT, dP;
    if (!SolveDerivatives(s, x, cond, p, true, dT) || !SolveDerivatives(s, x, cond, p, false, dP))
        return r;
    const std::size_t m = s.ElementCount(), iN = m + cond.size();
    double cpEq = cp + nhh + nh * dT[iN];
    for (std::size_t i = 0; i < m; ++i) {
        double sum = 0.0;
        for (std::size_t j = 0; j < s.gasCount; ++j)
            sum += s.Atoms(j, i) * x.moles[j] * p[j].h;
        cpEq += sum * dT[i];
    }
    for (std::size_t q = 0; q < cond.size(); ++q)
        cpEq += p[cond[q]].h * dT[m + q];
    r.dLnVdLnT = 1.0 + dT[iN];
    r.dLnVdLnP = -1.0 + dP[iN];
    const double cv = cpEq + n * r.dLnVdLnT * r.dLnVdLnT / r.dLnVdLnP;
    r.cpEquilibrium = cpEq * kGasConstant;
    r.gammaEquilibrium = -(cpEq / cv) / r.dLnVdLnP;
    r.soundSpeed = std::sqrt(r.gammaEquilibrium * n * 1000.0 * kGasConstant * t);
    return r;
}

std::vector<double> MoleFractions(const Composition& x)
{
    double total = 0.0;
    for (double amount : x.moles)
        total += amount;
    std::vector<double> fractions(x.moles.size(), 0.0);
    for (std::size_t j = 0; j < x.moles.size(); ++j)
        fractions[j] = total > 0.0 ? x.moles[j] / total : 0.0;
    return fractions;
}
