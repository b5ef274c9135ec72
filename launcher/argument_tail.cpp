// The argument tail: what follows the program's name on the command line.
#include "launcher.h"

namespace {

// Lead-byte ranges of the code pages whose tables are fixed: pairs of first and last lead byte,
// ended by a pair of zeros, as GetCPInfo reports them.
constexpr BYTE RangesJapanese[] = {0x81, 0x9F, 0xE0, 0xFC, 0, 0};          // 932
constexpr BYTE RangesChineseKorean[] = {0x81, 0xFE, 0, 0};                 // 936, 949, 950
constexpr BYTE RangesJohab[] = {0x81, 0xD3, 0xD8, 0xDE, 0xE0, 0xF9, 0, 0}; // 1361

// The fill loop below stops at a pair of zeros or after MAX_LEADBYTES bytes, as for the list
// GetCPInfo fills in. Each fixed list ends with its pair of zeros inside that window: no range is
// left out, and nothing past the list is read.
template <decltype(sizeof 0) N> constexpr bool EndsInWindow(const BYTE (&ranges)[N]) {
    return N % 2 == 0 && N <= MAX_LEADBYTES && ranges[N - 2] == 0 && ranges[N - 1] == 0;
}
static_assert(EndsInWindow(RangesJapanese) && EndsInWindow(RangesChineseKorean) &&
              EndsInWindow(RangesJohab));

} // namespace

void LoadLeadByteTable(LeadByteTable *table) {
    UINT codePage = GetACP();
    CPINFO info;
    const BYTE *ranges;

    switch (codePage) {
    case 932:
        ranges = RangesJapanese;
        break;
    case 936:
    case 949:
    case 950:
        ranges = RangesChineseKorean;
        break;
    case 1361:
        ranges = RangesJohab;
        break;
    default:
        if (GetCPInfo(codePage, &info) != 1 || info.MaxCharSize <= 1) {
            return; // a single-byte code page, or one Windows tells nothing of
        }
        ranges = info.LeadByte;
        break;
    }
    for (unsigned i = 0; i + 1 < MAX_LEADBYTES && (ranges[i] != 0 || ranges[i + 1] != 0); i += 2) {
        for (unsigned byte = ranges[i]; byte <= ranges[i + 1]; byte++) {
            table->isLead[byte] = 1;
        }
    }
}

const char *FindArgumentTail(const char *commandLine, const LeadByteTable *table) {
    auto p = reinterpret_cast<const unsigned char *>(commandLine);

    if (*p == '"') {
        // A quoted name: up to the closing quote; a lead byte takes the next byte with it.
        p++;
        while (*p != '\0' && *p != '"') {
            if (table->isLead[*p] && p[1] != '\0') {
                p++;
            }
            p++;
        }
        if (*p == '"') {
            p++;
        }
    } else {
        while (*p > ' ') {
            p++;
        }
    }
    while (*p != '\0' && *p <= ' ') {
        p++;
    }
    return reinterpret_cast<const char *>(p);
}
