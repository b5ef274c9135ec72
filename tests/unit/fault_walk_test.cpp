// Every failure point of each launch: each Windows call it makes fails in turn, and the outcome
// is the one that failure must give: a silent setup, the box and 1, or a start and 0.
#include "fixture.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace {

struct Outcome {
    int exitCode;
    std::string program;                // the start requested, or empty for none
    std::optional<std::string> boxText; // the box shown, if any
};

bool operator==(const Outcome &a, const Outcome &b) {
    return a.exitCode == b.exitCode && a.program == b.program && a.boxText == b.boxText;
}

std::ostream &operator<<(std::ostream &out, const Outcome &o) {
    return out << "exit " << o.exitCode << ", start [" << o.program << "], box ["
               << (o.boxText ? *o.boxText : "none") << "]";
}

const Outcome SetupStarted = {0, "SETUP1\\SETUP.EXE", std::nullopt};

struct WalkCase {
    const char *name;
    std::function<void()> prepare;
    const char *commandLine;
    Outcome normal;
    std::map<std::string, Outcome> whenFailing; // operations whose failure changes the outcome
};

// The process entry's own steps, short of ending the process.
Outcome Launch() {
    LeadByteTable table = {};
    LoadLeadByteTable(&table);
    Outcome outcome{RunLauncher(FindArgumentTail(GetCommandLineA(), &table)), "", std::nullopt};
    EXPECT_LE(sim::Starts().size(), 1u);
    EXPECT_LE(sim::Boxes().size(), 1u);
    if (!sim::Starts().empty()) {
        outcome.program = sim::Starts()[0].commandLine;
    }
    if (!sim::Boxes().empty()) {
        outcome.boxText = sim::Boxes()[0].text;
    }
    return outcome;
}

class FaultWalk : public Machine {};

TEST_F(FaultWalk, EveryFailingCallGivesItsOwnOutcome) {
    const std::string folder = "E:\\PROD\\X";
    const Outcome folderBox = {1, "", ErrorText(folder)};
    const WalkCase cases[] = {
        {"editor",
         [&] {
             Register(folder);
             sim::AddFile(folder + "\\EDITOR.EXE");
         },
         "LAUNCH.EXE EDITOR",
         {0, "EDITOR.EXE", std::nullopt},
         {{"RegOpenKeyExA", SetupStarted},
          {"RegQueryValueExA", SetupStarted},
          {"lstrcpyA", {1, "", ErrorText("")}},
          {"SetCurrentDirectoryA", folderBox},
          {"GetCurrentDirectoryA", folderBox},
          {"SetEnvironmentVariableA", folderBox}}},
        {"not registered",
         [] { sim::AddFile("C:\\START\\SETUP1\\SETUP.EXE"); },
         "LAUNCH.EXE",
         SetupStarted,
         {}},
        {"folder missing",
         [&] { Register(folder); },
         "LAUNCH.EXE",
         folderBox,
         {{"RegOpenKeyExA", SetupStarted},
          {"RegQueryValueExA", SetupStarted},
          {"lstrcpyA", {1, "", ErrorText("")}},
          {"wsprintfA", {1, "", std::string()}},
          {"MessageBoxA", {1, "", std::nullopt}}}},
    };

    std::set<std::string> walked;
    for (const WalkCase &c : cases) {
        SetUp();
        c.prepare();
        sim::SetCommandLine(c.commandLine);
        ASSERT_EQ(Launch(), c.normal) << c.name;
        const std::vector<std::string> calls = sim::Calls();

        std::map<std::string, int> seen;
        for (const std::string &operation : calls) {
            int nth = ++seen[operation];
            const auto &failable = sim::FailableOperations();
            if (std::find(failable.begin(), failable.end(), operation) == failable.end()) {
                continue;
            }
            walked.insert(operation);
            SetUp();
            c.prepare();
            sim::SetCommandLine(c.commandLine);
            sim::FailCall(operation, nth);
            std::string registry = sim::RegistryDump();

            auto expected = c.whenFailing.find(operation);
            EXPECT_EQ(Launch(), expected == c.whenFailing.end() ? c.normal : expected->second)
                << c.name << ", " << operation << " call " << nth << " failing";
            // The key is closed unless closing it is what failed.
            EXPECT_EQ(sim::OpenKeyCount(), operation == "RegCloseKey" ? 1 : 0)
                << c.name << ", " << operation << " failing";
            EXPECT_EQ(sim::RegistryDump(), registry);
        }
    }
    // Together the launches call, and so walk, every operation that can fail.
    const auto &failable = sim::FailableOperations();
    EXPECT_EQ(walked, std::set<std::string>(failable.begin(), failable.end()));
}

} // namespace
