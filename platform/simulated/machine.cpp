// The simulated machine itself: its state and Reset, the log of calls, fault injection, and the
// journal of what the launcher did (start requests and message boxes, recorded by the operations
// in starts_and_boxes.cpp).
#include "machine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace sim {

std::string Fold(std::string text) {
    for (char &c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 0x20);
        }
    }
    return text;
}

Machine &M() {
    static Machine machine;
    return machine;
}

void TestError(const std::string &what) {
    std::fprintf(stderr, "simulated Windows: %s\n", what.c_str());
    std::abort();
}

bool Called(const char *operation) {
    Machine &m = M();
    m.calls.emplace_back(operation);
    int count = ++m.callCounts[operation];
    auto fault = m.faults.find(operation);
    if (fault == m.faults.end()) {
        return false;
    }
    return count == fault->second.nth || (fault->second.fromThenOn && count > fault->second.nth);
}

void Reset() {
    Machine &m = M();
    m = Machine();
    m.currentDirectory = "C:\\START";
    AddWithParents(m.folders, "C:\\START");
    AddWithParents(m.folders, "C:\\LAUNCHER");
    AddWithParents(m.folders, "C:\\WINDOWS\\SYSTEM32");
    m.environment["PATH"] = "C:\\WINDOWS\\SYSTEM32;C:\\WINDOWS";
    m.codePageInfo[1252] = CPINFO{1, {'?', 0}, {0}};
    m.commandLine = "LAUNCH.EXE";
}

const std::vector<StartRequest> &Starts() {
    return M().starts;
}

const std::vector<MessageBox> &Boxes() {
    return M().boxes;
}

const std::vector<std::string> &Calls() {
    return M().calls;
}

const std::vector<std::string> &FailableOperations() {
    static const std::vector<std::string> operations = {"GetCPInfo",
                                                        "RegOpenKeyExA",
                                                        "RegQueryValueExA",
                                                        "RegCloseKey",
                                                        "lstrcpyA",
                                                        "SetCurrentDirectoryA",
                                                        "GetCurrentDirectoryA",
                                                        "SetEnvironmentVariableA",
                                                        "wsprintfA",
                                                        "MessageBoxA",
                                                        "WinExec"};
    return operations;
}

void FailCall(const std::string &operation, int nth, bool fromThenOn) {
    const auto &failable = FailableOperations();
    if (std::find(failable.begin(), failable.end(), operation) == failable.end() || nth < 1) {
        TestError("cannot make " + operation + " fail");
    }
    M().faults[operation] = Fault{nth, fromThenOn};
}

} // namespace sim
