#pragma once

#include <cstdio>
#include <cstring>

// The tools' command lines: "--help" (or "-h") prints the tool's usage in Greek on standard
// output and ends with status 0, before anything is opened or connected; a wrong command line
// prints the one English line "usage: ..." on standard error, as scripts already expect, and
// ends with status 2.
namespace ToolUsage {

inline bool askedForHelp(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    }
    return false;
}

inline int help(const char *greekUsage)
{
    std::fputs(greekUsage, stdout);
    return 0;
}

inline int wrong(const char *usageLine)
{
    std::fprintf(stderr, "usage: %s\n", usageLine);
    return 2;
}

} // namespace ToolUsage
