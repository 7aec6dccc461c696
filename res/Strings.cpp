#include "Resources.h"

std::string LoadResourceString(int id)
{
    switch (id) {
    case IDS_ABOUTBOX:
        return "&About wtharsel...";
    default:
        return {};
    }
}
