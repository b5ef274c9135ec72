// The environment block, with the "=X:" entries that hold each drive's current directory.
#include "machine.h"

#include <cstring>

namespace sim {

std::optional<std::string> GetVariable(const std::string &name) {
    auto entry = M().environment.find(name);
    if (entry == M().environment.end()) {
        return std::nullopt;
    }
    return entry->second;
}

void SetVariable(const std::string &name, const std::string &value) {
    M().environment[name] = value;
}

Environment EnvironmentBlock() {
    return Environment(M().environment.begin(), M().environment.end());
}

std::string DriveEntries(const Environment &environment) {
    std::string entries;
    for (const auto &[name, value] : environment) {
        if (!name.empty() && name[0] == '=') {
            entries += name + "=" + value + ";";
        }
    }
    return entries;
}

} // namespace sim

using sim::M;

extern "C" {

BOOL WINAPI SetEnvironmentVariableA(LPCSTR name, LPCSTR value) {
    if (sim::Called("SetEnvironmentVariableA") || name == nullptr || name[0] == '\0' ||
        std::strchr(name + 1, '=') != nullptr) {
        return 0;
    }
    if (value == nullptr) {
        M().environment.erase(name);
    } else {
        M().environment[name] = value;
    }
    return 1;
}

} // extern "C"
