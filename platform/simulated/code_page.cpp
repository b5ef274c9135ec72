// The ANSI code page with what GetCPInfo tells of it, and the process's command line as raw
// bytes.
#include "machine.h"

namespace sim {

void SetCodePage(UINT codePage, std::optional<CPINFO> info) {
    M().codePage = codePage;
    if (info) {
        M().codePageInfo[codePage] = *info;
    } else {
        M().codePageInfo.erase(codePage);
    }
}

void SetCommandLine(const std::string &bytes) {
    M().commandLine = bytes;
}

const char *CommandLineBuffer() {
    return M().commandLine.c_str();
}

} // namespace sim

using sim::M;

extern "C" {

LPSTR WINAPI GetCommandLineA(void) {
    sim::Called("GetCommandLineA");
    return M().commandLine.data();
}

UINT WINAPI GetACP(void) {
    sim::Called("GetACP");
    return M().codePage;
}

BOOL WINAPI GetCPInfo(UINT codePage, LPCPINFO info) {
    if (sim::Called("GetCPInfo") || info == nullptr) {
        return 0;
    }
    auto found = M().codePageInfo.find(codePage);
    if (found == M().codePageInfo.end()) {
        return 0;
    }
    *info = found->second;
    return 1;
}

} // extern "C"
