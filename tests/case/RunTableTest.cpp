#include <gtest/gtest.h>

#include "RunTable.h"

// A default that drifts from the form's (298 K, Cpa 0.3, 14.696 psia, ...)
// would change every new case the user starts.
TEST(CaseRecord, NewRecordHoldsTheFormDefaults)
{
    const CaseRecord r;
    EXPECT_EQ(r.m_caseFile, "");
    EXPECT_EQ(r.m_caseTitle, "");
    EXPECT_EQ(r.m_componentCount, 1);
    EXPECT_EQ(r.m_densityExponent, 1.0);
    EXPECT_EQ(r.m_initialTemperature, 298.0);
    EXPECT_EQ(r.m_cpA, 0.3);
    EXPECT_EQ(r.m_cpB, 0.0);
    EXPECT_EQ(r.m_cpC, 0.0);
    for (int i = 0; i < kMaxComponents; ++i) {
        EXPECT_EQ(r.m_ingredientId[i], 0);
        EXPECT_EQ(r.m_ingredientWeight[i], 0.0);
    }
    EXPECT_EQ(r.m_chamberPressure, 1000.0);
    EXPECT_EQ(r.m_exhaustPressure, 14.696);
    EXPECT_EQ(r.m_deleteExitCalcs + r.m_ionicSpecies + r.m_boostAndNozzle + r.m_pressureInAtm + r.m_listAllSpecies, 0);
}

TEST(RunTable, StartsWithOneRunAndZeros)
{
    const RunTable t;
    EXPECT_EQ(t.runCount, 1);
    for (int c = 0; c < kMaxComponents; ++c) {
        EXPECT_EQ(t.ingredientId[c], 0);
        for (int r = 0; r < kMaxRuns; ++r)
            EXPECT_EQ(t.mass[c][r], 0.0);
    }
    for (int r = 0; r < kMaxRuns; ++r) {
        EXPECT_EQ(t.chamberPressure[r], 0.0);
        EXPECT_EQ(t.exhaustPressure[r], 0.0);
    }
}

// The forms' names must address the one process-wide table, or the parametric
// form and the deck writer would work on different tables.
TEST(RunTable, ProcessWideNamesAreTheTablesFields)
{
    g_runTable = RunTable{};
    g_runCount = 4;
    g_mass[2][3] = 7.5;
    g_ingredientId[9] = 41;
    EXPECT_EQ(g_runTable.runCount, 4);
    EXPECT_EQ(g_runTable.mass[2][3], 7.5);
    EXPECT_EQ(g_runTable.ingredientId[9], 41);
    g_runTable = RunTable{};
}

// Copying only rows 1 to n, or touching runs 2 and later, would lose the
// values of unused rows or a parametric series.
TEST(CopyCaseToRunTable, CopiesAllTenRowsIntoRunOneOnly)
{
    CaseRecord record;
    record.m_componentCount = 3;
    for (int i = 0; i < kMaxComponents; ++i) {
        record.m_ingredientId[i] = 100 + i;
        record.m_ingredientWeight[i] = 1.5 * (i + 1);
    }
    record.m_chamberPressure = 1234.5;
    record.m_exhaustPressure = 12.0;

    RunTable table;
    table.runCount = 3;
    table.chamberPressure[1] = 900.0;
    table.mass[4][2] = 8.0;
    CopyCaseToRunTable(record, table);

    for (int i = 0; i < kMaxComponents; ++i) {
        EXPECT_EQ(table.ingredientId[i], 100 + i) << "row " << i + 1;
        EXPECT_EQ(table.mass[i][0], 1.5 * (i + 1)) << "row " << i + 1;
    }
    EXPECT_EQ(table.chamberPressure[0], 1234.5);
    EXPECT_EQ(table.exhaustPressure[0], 12.0);
    EXPECT_EQ(table.runCount, 3);
    EXPECT_EQ(table.chamberPressure[1], 900.0);
    EXPECT_EQ(table.mass[4][2], 8.0);
}
