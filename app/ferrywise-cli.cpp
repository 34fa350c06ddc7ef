// Headless front end for scripted and batch migrations.
#include <cstdio>
#include <cstring>

#include "Version.h"

static void PrintUsage(FILE* out)
{
    std::fprintf(out,
                 "Usage: ferrywise-cli [--version] [--help]\n"
                 "\n"
                 "Moves contacts, calendar events, tasks and notes into Lotus Notes.\n");
}

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s %s\n", FW_PRODUCT_NAME, FW_VERSION);
        return 0;
    }
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        PrintUsage(stdout);
        return 0;
    }
    PrintUsage(stderr);
    return 2;
}
