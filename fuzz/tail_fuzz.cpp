// Fuzzes the argument tail: any command-line bytes under any lead-byte table.
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
    ChooseCodePage(input);
    LeadByteTable table = {};
    LoadLeadByteTable(&table);

    std::string bytes = input.Rest();
    std::string line(bytes.c_str()); // the command line ends at its first NUL
    const char *commandLine = line.c_str();
    const char *tail = FindArgumentTail(commandLine, &table);

    if (tail < commandLine || tail > commandLine + line.size()) {
        Broken("the tail lies outside the command line");
    }
    if (tail + std::strlen(tail) != commandLine + line.size()) {
        Broken("the tail does not end at the command line's terminator");
    }
    if (*tail != '\0' && static_cast<unsigned char>(*tail) <= 0x20) {
        Broken("the tail starts with a blank or control byte");
    }
    return 0;
}
