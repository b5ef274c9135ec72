// The simulated Windows machine's state, shared by the files that model its parts. Test
// machinery only: the launcher sees nothing of it but the operations of windows_services.h.
#ifndef LAUNCH_SIMULATED_MACHINE_H
#define LAUNCH_SIMULATED_MACHINE_H

#include "simulated_windows.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace sim {

// Windows compares names of files, keys, values and variables with letters folded.
std::string Fold(std::string text);
struct FoldedLess {
    bool operator()(const std::string &a, const std::string &b) const {
        return Fold(a) < Fold(b);
    }
};

struct Value {
    DWORD type;
    std::vector<std::uint8_t> bytes;
};

struct OpenKey {
    std::string path;
    REGSAM access;
};

struct Fault {
    int nth;
    bool fromThenOn;
};

struct Machine {
    std::set<std::string> folders; // folded full paths
    std::set<std::string> files;   // folded full paths
    std::string currentDirectory;
    bool longPaths = false;
    std::map<std::string, std::string, FoldedLess> environment;
    std::map<std::string, std::map<std::string, Value, FoldedLess>, FoldedLess> keys;
    std::map<std::uintptr_t, OpenKey> openKeys;
    std::uintptr_t nextHandle = 0x1000;
    DWORD lastOptions = 0;
    REGSAM lastAccess = 0;
    UINT codePage = 1252;
    std::map<UINT, CPINFO> codePageInfo;
    std::string commandLine;
    std::vector<StartRequest> starts;
    std::vector<MessageBox> boxes;
    std::vector<std::string> calls;
    std::map<std::string, int> callCounts;
    std::map<std::string, Fault> faults;
};

// The one machine.
Machine &M();

// A mistake in a test, not a behaviour of Windows: ends the test process.
[[noreturn]] void TestError(const std::string &what);

// Logs the call and says whether an injected fault makes it fail.
bool Called(const char *operation);

// ---- Code page (code_page.cpp) ----
// The characters a text holds in the ANSI code page: a lead byte and the byte after it are one.
std::size_t CharacterCount(const std::string &text);

// ---- Paths (file_system.cpp) ----
std::string Slashes(std::string path);
// A full path with "." and "..", repeated and trailing backslashes collapsed, or nothing.
std::optional<std::string> Normalise(const std::string &full);
// A path resolved as Windows does against the current directory and the "=X:" entries.
std::optional<std::string> Resolve(const std::string &given);
void AddWithParents(std::set<std::string> &into, const std::string &full);
bool FileExists(const std::string &full);
// The file WinExec starts for a command line, or empty when none is found.
std::string FindProgram(const std::string &commandLine);

} // namespace sim

#endif // LAUNCH_SIMULATED_MACHINE_H
