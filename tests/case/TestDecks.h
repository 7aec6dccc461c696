#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "CaseRecord.h"
#include "RunTable.h"

// The two-run, three-component case of the format's description: demo,
// "sample case", ingredients 12, 345 and 7, options 2 and 8.
inline void FillExampleCase(CaseRecord& record, RunTable& table)
{
    record.m_caseFile = "demo";
    record.m_caseTitle = "sample case";
    record.m_componentCount = 3;
    const int ids[] = {12, 345, 7};
    const double weights[] = {70.0, 18.0, 12.0};
    for (int i = 0; i < 3; ++i) {
        record.m_ingredientId[i] = ids[i];
        record.m_ingredientWeight[i] = weights[i];
    }
    record.m_ionicSpecies = 1;
    record.m_listAllSpecies = 1;
    CopyCaseToRunTable(record, table);
    table.runCount = 2;
    table.chamberPressure[1] = 1500.0;
    table.exhaustPressure[1] = 14.696;
    table.mass[0][1] = 68.5;
    table.mass[1][1] = 19.5;
    table.mass[2][1] = 12.0;
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
