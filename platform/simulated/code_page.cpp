// The ANSI code page with what GetCPInfo tells of it, how many characters a text holds in it,
// and the process's command line as raw bytes.
#include "machine.h"

#include <algorithm>

namespace sim {
namespace {

// What Windows reports for its double-byte code pages: the largest character is two bytes, and
// pairs of first and last lead byte.
std::optional<CPINFO> DoubleByteInfo(UINT codePage) {
    CPINFO info = {2, {'?', 0}, {0}};
    auto ranges = [&info](std::initializer_list<BYTE> bytes) {
        std::copy(bytes.begin(), bytes.end(), info.LeadByte);
        return info;
    };
    switch (codePage) {
    case 932:
        return ranges({0x81, 0x9F, 0xE0, 0xFC});
    case 936:
    case 949:
    case 950:
        return ranges({0x81, 0xFE});
    case 1361:
        return ranges({0x81, 0xD3, 0xD8, 0xDE, 0xE0, 0xF9});
    default:
        return std::nullopt;
    }
}

} // namespace

void SetCodePage(UINT codePage, std::optional<CPINFO> info) {
    M().codePage = codePage;
    M().codePageInfo.erase(codePage);
    if (auto known = DoubleByteInfo(codePage)) {
        M().codePageInfo[codePage] = *known;
    } else if (info) {
        M().codePageInfo[codePage] = *info;
    }
}

std::size_t CharacterCount(const std::string &text) {
    BYTE lead[256] = {};
    auto info = M().codePageInfo.find(M().codePage);
    if (info != M().codePageInfo.end() && info->second.MaxCharSize > 1) {
        const BYTE *ranges = info->second.LeadByte;
        for (int i = 0; i + 1 < MAX_LEADBYTES && (ranges[i] || ranges[i + 1]); i += 2) {
            for (int byte = ranges[i]; byte <= ranges[i + 1]; byte++) {
                lead[byte] = 1;
            }
        }
    }
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i++, count++) {
        if (lead[static_cast<BYTE>(text[i])] && i + 1 < text.size()) {
            i++;
        }
    }
    return count;
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
