// Fuzzes the whole launch against the simulated machine: any registry value (any type, 0 to 300
// bytes, with or without terminators), any command line, the install folder and programs there
// or not, and any one Windows operation failing at one of its calls.
#include "fuzz_input.h"
#include "launcher.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void Broken(const char *property) {
    std::fprintf(stderr, "launch: %s\n", property);
    std::abort();
}

// Whether the injected fault fired: the chosen operation was called at least nth times.
bool Failed(const std::string &operation, const std::string &chosen, int nth) {
    const auto &calls = sim::Calls();
    return operation == chosen && std::count(calls.begin(), calls.end(), operation) >= nth;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    FuzzInput input(data, size);
    sim::Reset();
    std::memset(InstallPath, 0, sizeof InstallPath);

    std::uint8_t flags = input.Byte();
    DWORD type = input.Byte();
    const auto &operations = sim::FailableOperations();
    std::uint8_t faultChoice = input.Byte();
    std::uint8_t faultCall = input.Byte();
    std::string fault = faultChoice % (operations.size() + 1) == 0
                            ? ""
                            : operations[faultChoice % (operations.size() + 1) - 1];
    std::size_t length = (input.Byte() | (input.Byte() << 8)) % 301;
    ChooseCodePage(input);

    std::string value = input.Bytes(length);
    if (flags & 0x04) {
        value = "E:\\PROD\\X" + value; // near a folder that may exist
    }
    if (flags & 0x01) {
        sim::AddKey(ProductKey);
    }
    if (flags & 0x02) {
        sim::SetValue(ProductKey, "AppPath", type,
                      std::vector<std::uint8_t>(value.begin(), value.end()));
    }
    if (flags & 0x08) {
        sim::AddFolder("E:\\PROD\\X");
    }
    if (flags & 0x10) {
        sim::AddFile("E:\\PROD\\X\\QUARLO.EXE");
        sim::AddFile("E:\\PROD\\X\\EDITOR.EXE");
    }
    if (flags & 0x20) {
        sim::AddFile("C:\\START\\SETUP1\\SETUP.EXE");
    }
    sim::SetLongPathsEnabled(flags & 0x40);
    int nth = 1 + faultCall % 4;
    if (!fault.empty()) {
        sim::FailCall(fault, nth, faultCall & 0x80);
    }
    sim::SetCommandLine(input.Rest());
    std::string registry = sim::RegistryDump();

    LeadByteTable table = {};
    LoadLeadByteTable(&table);
    int exitCode = RunLauncher(FindArgumentTail(GetCommandLineA(), &table));

    const auto &starts = sim::Starts();
    const auto &boxes = sim::Boxes();
    if (std::memchr(InstallPath, 0, sizeof InstallPath) == nullptr) {
        Broken("InstallPath is not terminated within its 260 bytes");
    }
    if (exitCode == 0) {
        if (starts.size() != 1 || !boxes.empty()) {
            Broken("exit code 0 without exactly one start request and no box");
        }
        const std::string &program = starts[0].commandLine;
        if (program != "QUARLO.EXE" && program != "EDITOR.EXE" && program != "SETUP1\\SETUP.EXE") {
            Broken("a start request for an unknown program");
        }
        if (starts[0].show != SW_SHOWDEFAULT) {
            Broken("a start without SW_SHOWDEFAULT");
        }
    } else if (exitCode == 1) {
        if (!starts.empty()) {
            Broken("exit code 1 after a start request");
        }
        if (boxes.size() != (Failed("MessageBoxA", fault, nth) ? 0u : 1u)) {
            Broken("exit code 1 without exactly one box");
        }
        if (!boxes.empty()) {
            std::string text = Failed("wsprintfA", fault, nth)
                                   ? ""
                                   : "Could not change to directory " + std::string(InstallPath) +
                                         "!\n\nPlease run the installation program.";
            if (boxes[0].text != text || boxes[0].caption != "Launch Error" ||
                boxes[0].style != MB_ICONERROR || boxes[0].owner != nullptr) {
                Broken("the box is not the error format with the folder in it");
            }
        }
    } else {
        Broken("an exit code other than 0 or 1");
    }
    if (sim::OpenKeyCount() != 0 && !Failed("RegCloseKey", fault, nth)) {
        Broken("the product key was left open");
    }
    if (sim::RegistryDump() != registry) {
        Broken("the registry changed");
    }
    return 0;
}
