#pragma once

#include <fstream>
#include <string>

// The resident memory in KiB of a process ("self", or its id), as Linux
// counts it; -1 where it cannot be read.
inline long residentKiB(const std::string& process)
{
    std::ifstream status{"/proc/" + process + "/status"};
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}
