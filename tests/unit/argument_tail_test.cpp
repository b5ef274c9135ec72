// The argument tail and the lead-byte table it is derived with.
#include "fixture.h"

#include <cstdio>

namespace {

// The lead bytes of a table as ranges, "81-9F E0-FC", to compare whole tables at once.
std::string Ranges(const LeadByteTable &table) {
    std::string text;
    for (int byte = 0; byte < 256; byte++) {
        if (table.isLead[byte] && (byte == 0 || !table.isLead[byte - 1])) {
            int last = byte;
            while (last < 255 && table.isLead[last + 1]) {
                last++;
            }
            char range[8];
            std::snprintf(range, sizeof range, "%02X-%02X", byte, last);
            text += (text.empty() ? "" : " ") + std::string(range);
        }
    }
    return text;
}

LeadByteTable TableOf(const std::string &ranges) {
    LeadByteTable table = {};
    for (std::size_t i = 0; i + 5 <= ranges.size(); i += 6) {
        unsigned first = std::stoul(ranges.substr(i, 2), nullptr, 16);
        unsigned last = std::stoul(ranges.substr(i + 3, 2), nullptr, 16);
        for (unsigned byte = first; byte <= last; byte++) {
            table.isLead[byte] = 1;
        }
    }
    return table;
}

struct TailCase {
    const char *name;
    std::string commandLine;
    std::string leadBytes; // ranges, as Ranges() writes them
    std::string tail;
};

TEST(ArgumentTail, IsTheRestOfTheCommandLineAfterTheNameAndItsBlanks) {
    const TailCase cases[] = {
        {"plain", "LAUNCH.EXE EDITOR", "", "EDITOR"},
        {"quoted path with blanks", "\"C:\\Program Files\\Q\\LAUNCH.EXE\" EDITOR", "", "EDITOR"},
        {"no blank after the quote", "\"C:\\Q\\LAUNCH.EXE\"EDITOR", "", "EDITOR"},
        {"name alone", "LAUNCH.EXE", "", ""},
        {"quoted name alone", "\"LAUNCH.EXE\"", "", ""},
        {"empty command line", "", "", ""},
        {"inner and trailing blanks kept", "LAUNCH.EXE   EDITOR  ", "", "EDITOR  "},
        {"tab", "LAUNCH.EXE\tEDITOR", "", "EDITOR"},
        {"control bytes skipped", "LAUNCH.EXE \x01\x1F\r\n EDITOR", "", "EDITOR"},
        {"no closing quote", "\"C:\\Q\\LAUNCH.EXE EDITOR", "", ""},
        {"leading blank: no name", " EDITOR", "", "EDITOR"},
        {"leading tab: no name", "\tEDITOR X", "", "EDITOR X"},
        {"empty quoted name", "\"\"EDITOR", "", "EDITOR"},
        {"quotes in the tail kept", "LAUNCH.EXE \"EDITOR\"", "", "\"EDITOR\""},
        {"quote inside unquoted name", "LAUN\"CH.EXE EDITOR", "", "EDITOR"},
        {"bytes above 0x7F in a name", "C:\\\xC9\xE9\xFF\x80.EXE EDITOR", "", "EDITOR"},
        {"bytes above 0x7F in the tail", "LAUNCH.EXE \xA0\xE9", "", "\xA0\xE9"},
        {"0x7F is part of a name",
         "A\x7F"
         "B C",
         "", "C"},
        // A lead byte takes the byte after it along, so a trail byte 0x22 closes nothing.
        {"lead byte before a quote", "\"C:\\\x81\"\\L.EXE\" EDITOR", "81-9F E0-FC", "EDITOR"},
        {"same bytes, no lead bytes", "\"C:\\\x81\"\\L.EXE\" EDITOR", "", "\\L.EXE\" EDITOR"},
        {"lead byte then closing quote", "\"AB\x81X\" EDITOR", "81-FE", "EDITOR"},
        {"lead byte before the terminator", "\"AB\x81", "81-FE", ""},
        {"lead byte alone", "\"\x81", "81-FE", ""},
        {"unquoted name ends at a blank after a lead byte", "\x81\x20 EDITOR", "81-FE", "EDITOR"},
    };
    for (const TailCase &c : cases) {
        LeadByteTable table = TableOf(c.leadBytes);
        const char *commandLine = c.commandLine.c_str();
        const char *tail = FindArgumentTail(commandLine, &table);
        // A view into the command line that ends at its terminator.
        ASSERT_GE(tail, commandLine) << c.name;
        ASSERT_LE(tail, commandLine + c.commandLine.size()) << c.name;
        EXPECT_EQ(std::string(tail), c.tail) << c.name;
        EXPECT_EQ(tail + std::strlen(tail), commandLine + c.commandLine.size()) << c.name;
    }
}

class LeadBytes : public Machine {};

struct CodePageCase {
    UINT codePage;
    std::optional<CPINFO> info; // what GetCPInfo reports, if anything
    std::string ranges;
};

TEST_F(LeadBytes, ComeFromTheCodePage) {
    const CPINFO bogus = {2, {0}, {0x20, 0x30, 0, 0}};
    const CodePageCase cases[] = {
        {932, bogus, "81-9F E0-FC"},
        {936, bogus, "81-FE"},
        {949, std::nullopt, "81-FE"},
        {950, std::nullopt, "81-FE"},
        {1361, bogus, "81-D3 D8-DE E0-F9"},
        {1252, CPINFO{1, {'?'}, {0}}, ""},
        {1252, CPINFO{1, {'?'}, {0x81, 0xFE, 0, 0}}, ""}, // single-byte: ranges not used
        {20932, std::nullopt, ""},                        // GetCPInfo fails
        {20932, CPINFO{2, {0}, {0x8E, 0x8E, 0xA1, 0xFE, 0, 0}}, "8E-8E A1-FE"},
        {54936, CPINFO{4, {0}, {0x81, 0xFE, 0, 0}}, "81-FE"},
        {51949, CPINFO{2, {0}, {0xFF, 0xFF, 0, 0}}, "FF-FF"},
        {51950, CPINFO{2, {0}, {0xF0, 0x80, 0xA0, 0xA0, 0, 0}}, "A0-A0"}, // backwards range
        {51951, CPINFO{2, {0}, {0, 0, 0xA0, 0xA0, 0, 0}}, ""},            // ended at once
        {51952,
         CPINFO{2, {0}, {0x81, 0x82, 0x84, 0x85, 0x87, 0x88, 0x8A, 0x8B, 0x8D, 0x8E, 0x90, 0x91}},
         "81-82 84-85 87-88 8A-8B 8D-8E 90-91"}, // six ranges with no end pair
    };
    for (const CodePageCase &c : cases) {
        SetUp();
        sim::SetCodePage(c.codePage, c.info);
        LeadByteTable table = {};
        LoadLeadByteTable(&table);
        EXPECT_EQ(Ranges(table), c.ranges) << "code page " << c.codePage;
    }
}

TEST_F(LeadBytes, FailingCodePageInfoMeansNoLeadBytes) {
    sim::SetCodePage(20932, CPINFO{2, {0}, {0xA1, 0xFE, 0, 0}});
    sim::FailCall("GetCPInfo");
    LeadByteTable table = {};
    LoadLeadByteTable(&table);
    EXPECT_EQ(Ranges(table), "");
}

} // namespace
