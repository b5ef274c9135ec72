// Fuzzes the whole launch against the simulated machine: any registry value (any type, 0 to 300
// bytes, with or without terminators), any command line, the install folder and programs there
// or not, and any one Windows operation failing at one of its calls. The outcome is checked
// against one computed from the inputs alone: registered or not, the folder enterable or not,
// the tail exactly EDITOR in any letter case or not, and which call failed.
#include "fuzz_input.h"
#include "launcher.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void Broken(const char *property) {
    std::fprintf(stderr, "launch: %s\n", property);
    std::abort();
}

struct Expected {
    int exitCode = 0;
    std::string program;   // the start request's text, or empty for none
    std::string directory; // the current directory it is made in
    std::string entries;   // the "=X:" entries it inherits, as "=E:=E:\X;"
    bool box = false;
    std::string boxText;
};

std::string Upper(std::string text) {
    for (char &c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
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
    int nth = 1 + faultCall % 4;
    // The launch makes each operation's call once: only a fault at the first call fires.
    auto fails = [&](const char *operation) { return fault == operation && nth == 1; };
    std::size_t length = (input.Byte() | (input.Byte() << 8)) % 301;
    LeadBytes lead = ChooseCodePage(input, fails("GetCPInfo"));

    std::string value = input.Bytes(length);
    if (flags & 0x04) {
        value = "E:\\PROD\\X" + value; // near a folder that may exist
    }
    bool keyExists = flags & 0x03;
    bool valueExists = flags & 0x02;
    if (flags & 0x01) {
        sim::AddKey(ProductKey);
    }
    if (valueExists) {
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
    if (!fault.empty()) {
        sim::FailCall(fault, nth, faultCall & 0x80);
    }
    std::string commandLine = input.Rest();
    sim::SetCommandLine(commandLine);
    std::string registry = sim::RegistryDump();

    // What must happen. The value's bytes up to the first NUL are the folder; 260 bytes without
    // one, or more than 260, count as not registered.
    Expected expected;
    std::size_t nul = value.find('\0');
    std::string folder = value.substr(0, nul);
    bool registered = keyExists && valueExists && !fails("RegOpenKeyExA") &&
                      !fails("RegQueryValueExA") && value.size() <= 260 &&
                      (nul != std::string::npos || value.size() < 260);
    if (fails("lstrcpyA")) {
        folder = ""; // InstallPath stays as it was at start
    }
    std::optional<std::string> entered;
    if (registered && !fails("SetCurrentDirectoryA")) {
        entered = sim::FolderToEnter(folder);
    }
    bool unc = entered && entered->size() >= 2 && ((*entered)[0] == '\\' || (*entered)[0] == '/') &&
               (*entered)[1] == (*entered)[0];
    if (!registered) {
        expected.program = "SETUP1\\SETUP.EXE";
        expected.directory = "C:\\START";
    } else if (!entered || fails("GetCurrentDirectoryA") || entered->size() >= 261 ||
               (!unc && fails("SetEnvironmentVariableA"))) {
        expected.exitCode = 1;
        expected.box = !fails("MessageBoxA");
        if (!fails("wsprintfA")) {
            expected.boxText = "Could not change to directory " + folder +
                               "!\n\nPlease run the installation program.";
        }
    } else {
        std::string line(commandLine.c_str()); // the command line ends at its first NUL
        std::string tail = line.substr(ExpectedTailOffset(line, lead));
        expected.program = Upper(tail) == "EDITOR" ? "EDITOR.EXE" : "QUARLO.EXE";
        expected.directory = *entered;
        if (!unc) {
            expected.entries = "=" + Upper(entered->substr(0, 1)) + ":=" + *entered + ";";
        }
    }

    LeadByteTable table = {};
    LoadLeadByteTable(&table);
    int exitCode = RunLauncher(FindArgumentTail(GetCommandLineA(), &table));

    const auto &starts = sim::Starts();
    const auto &boxes = sim::Boxes();
    if (exitCode != expected.exitCode) {
        Broken("the exit code is not the one the inputs give");
    }
    if (starts.size() != (expected.program.empty() ? 0u : 1u)) {
        Broken("not the one start request, or none, that the inputs give");
    }
    if (!starts.empty() &&
        (starts[0].commandLine != expected.program || starts[0].show != SW_SHOWDEFAULT ||
         starts[0].currentDirectory != expected.directory ||
         sim::DriveEntries(starts[0].environment) != expected.entries)) {
        Broken("the start request is not the program, directory and entries the inputs give");
    }
    if (boxes.size() != (expected.box ? 1u : 0u)) {
        Broken("not the one box, or none, that the inputs give");
    }
    if (!boxes.empty() &&
        (boxes[0].text != expected.boxText || boxes[0].caption != "Launch Error" ||
         boxes[0].style != MB_ICONERROR || boxes[0].owner != nullptr)) {
        Broken("the box is not the error format with the folder in it");
    }
    if (std::memchr(InstallPath, 0, sizeof InstallPath) == nullptr) {
        Broken("InstallPath is not terminated within its 260 bytes");
    }
    bool opened = keyExists && !fails("RegOpenKeyExA");
    if (sim::OpenKeyCount() != (opened && fails("RegCloseKey") ? 1 : 0)) {
        Broken("the product key was left open, or never opened");
    }
    if (sim::RegistryDump() != registry) {
        Broken("the registry changed");
    }
    return 0;
}
