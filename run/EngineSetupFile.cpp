#include "EngineSetupFile.h"

#include <cstdio>

#ifdef _WIN32
#include <direct.h>
#define getcwd _getcwd
static const char kSeparator[] = "\\";
#else
#include <unistd.h>
static const char kSeparator[] = "/";
#endif

void WriteEngineSetupFile()
{
    char directory[256];
    if (getcwd(directory, sizeof directory) == nullptr)
        return;
    std::FILE* setup = std::fopen("setup.kal", "w");
    if (setup == nullptr)
        return;
    std::fprintf(setup, "HD\n");
    std::fprintf(setup, "%s%skalcoded.daf\n", directory, kSeparator);
    std::fprintf(setup, "%s%snotused\n", directory, kSeparator);
    std::fprintf(setup, "%s%sjannaf.daf\n", directory, kSeparator);
    std::fprintf(setup, "%s%stharsel.out\n", directory, kSeparator);
    std::fclose(setup);
}
