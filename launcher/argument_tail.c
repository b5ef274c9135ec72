/* The argument tail: what follows the program's name on the command line. */
#include "launcher.h"

static void MarkRange(LeadByteTable *table, unsigned first, unsigned last) {
    unsigned byte;
    for (byte = first; byte <= last && byte < 256; byte++) {
        table->isLead[byte] = 1;
    }
}

void LoadLeadByteTable(LeadByteTable *table) {
    UINT codePage = GetACP();
    CPINFO info;
    int i;

    switch (codePage) {
    case 932:
        MarkRange(table, 0x81, 0x9F);
        MarkRange(table, 0xE0, 0xFC);
        return;
    case 936:
    case 949:
    case 950:
        MarkRange(table, 0x81, 0xFE);
        return;
    case 1361:
        MarkRange(table, 0x81, 0xD3);
        MarkRange(table, 0xD8, 0xDE);
        MarkRange(table, 0xE0, 0xF9);
        return;
    default:
        break;
    }
    if (GetCPInfo(codePage, &info) != 1 || info.MaxCharSize <= 1) {
        return;
    }
    /* Pairs of first and last lead byte, ended by a pair of zeros. */
    for (i = 0; i + 1 < MAX_LEADBYTES && (info.LeadByte[i] || info.LeadByte[i + 1]); i += 2) {
        MarkRange(table, info.LeadByte[i], info.LeadByte[i + 1]);
    }
}

const char *FindArgumentTail(const char *commandLine, const LeadByteTable *table) {
    const unsigned char *p = (const unsigned char *)commandLine;

    if (*p == '"') {
        /* A quoted name: up to the closing quote; a lead byte takes the next byte with it. */
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
    return (const char *)p;
}
