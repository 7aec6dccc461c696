#include "RunTable.h"

RunTable g_runTable;
int g_savedRunCount = 0;
int g_pickedIngredient = 0;

void CopyCaseToRunTable(const CaseRecord& record, RunTable& table)
{
    for (int i = 0; i < kMaxComponents; ++i)
        table.ingredientId[i] = record.m_ingredientId[i];
    for (int i = 0; i < kMaxComponents; ++i)
        table.mass[i][0] = record.m_ingredientWeight[i];
    table.chamberPressure[0] = record.m_chamberPressure;
    table.exhaustPressure[0] = record.m_exhaustPressure;
}
