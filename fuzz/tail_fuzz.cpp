// Fuzzes the argument tail: any command-line bytes under any code page, checked against a plain
// reading of the rule and the code page's own lead bytes.
#include "fuzz_input.h"
#include "launcher.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void Broken(const char *property) {
    std::fprintf(stderr, "argument tail: %s\n", property);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    FuzzInput input(data, size);
    sim::Reset();
    LeadBytes lead = ChooseCodePage(input);
    LeadByteTable table = {};
    LoadLeadByteTable(&table);

    std::string bytes = input.Rest();
    std::string line(bytes.c_str()); // the command line ends at its first NUL
    const char *commandLine = line.c_str();
    const char *tail = FindArgumentTail(commandLine, &table);

    for (int byte = 0; byte < 256; byte++) {
        if ((table.isLead[byte] != 0) != lead.Holds(static_cast<unsigned char>(byte))) {
            Broken("the lead-byte table differs from the code page's lead bytes");
        }
    }
    if (tail != commandLine + ExpectedTailOffset(line, lead)) {
        Broken("the tail does not begin where the rule says");
    }
    return 0;
}
