// The simulated Windows machine: the operations of windows_services.h and their test API.
//
// Each operation behaves as Windows documents it for what the launcher relies on: status codes,
// buffers left untouched when they are too small, no terminator added to registry bytes, the
// current directory's length limit, case-insensitive names.
#include "simulated_windows.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <unistd.h>

namespace sim {
namespace {

std::string Fold(std::string text) {
    for (char &c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 0x20);
        }
    }
    return text;
}

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

Machine &M() {
    static Machine machine;
    return machine;
}

[[noreturn]] void TestError(const std::string &what) {
    std::fprintf(stderr, "simulated Windows: %s\n", what.c_str());
    std::abort();
}

// Logs the call and says whether an injected fault makes it fail.
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

std::string Slashes(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Splits a full path into its root ("C:" or "\\SERVER\SHARE") and the rest, or fails.
bool SplitRoot(const std::string &full, std::string &root, std::string &rest) {
    if (full.size() >= 2 && IsLetter(full[0]) && full[1] == ':') {
        if (full.size() > 2 && full[2] != '\\') {
            return false;
        }
        root = full.substr(0, 2);
        rest = full.size() > 2 ? full.substr(3) : "";
        return true;
    }
    if (full.rfind("\\\\", 0) == 0) {
        std::size_t server = full.find('\\', 2);
        if (server == std::string::npos || server == 2) {
            return false;
        }
        std::size_t share = full.find('\\', server + 1);
        if (share == server + 1) {
            return false;
        }
        root = full.substr(0, share);
        rest = share == std::string::npos ? "" : full.substr(share + 1);
        return true;
    }
    return false;
}

// Collapses "." and "..", repeated and trailing backslashes. The root of a drive keeps its
// backslash ("C:\"); a UNC root does not.
std::optional<std::string> Normalise(const std::string &full) {
    std::string root, rest;
    if (!SplitRoot(full, root, rest)) {
        return std::nullopt;
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find('\\', start);
        if (end == std::string::npos) {
            end = rest.size();
        }
        std::string part = rest.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result = root;
    for (const std::string &part : parts) {
        result += "\\" + part;
    }
    if (parts.empty() && root[1] == ':') {
        result += "\\";
    }
    return result;
}

// Resolves a path as Windows does against the current directory and the "=X:" entries.
std::optional<std::string> Resolve(const std::string &given) {
    Machine &m = M();
    std::string path = Slashes(given);
    if (path.empty()) {
        return std::nullopt;
    }
    if (path.rfind("\\\\", 0) == 0) {
        return Normalise(path);
    }
    if (path.size() >= 2 && IsLetter(path[0]) && path[1] == ':') {
        if (path.size() > 2 && path[2] == '\\') {
            return Normalise(path);
        }
        // Drive-relative: against that drive's current directory.
        std::string base;
        if (!m.currentDirectory.empty() &&
            Fold(m.currentDirectory.substr(0, 1)) == Fold(path.substr(0, 1)) &&
            m.currentDirectory[1] == ':') {
            base = m.currentDirectory;
        } else {
            auto entry = m.environment.find("=" + Fold(path.substr(0, 1)) + ":");
            base = entry != m.environment.end() ? entry->second : path.substr(0, 2) + "\\";
        }
        return Normalise(base + "\\" + path.substr(2));
    }
    std::string root, rest;
    if (!SplitRoot(m.currentDirectory, root, rest)) {
        return std::nullopt;
    }
    if (path[0] == '\\') {
        return Normalise(root + path);
    }
    return Normalise(m.currentDirectory + "\\" + path);
}

void AddWithParents(std::set<std::string> &into, const std::string &full) {
    std::string root, rest;
    if (!SplitRoot(full, root, rest)) {
        TestError("not a full path: " + full);
    }
    std::string path = root[1] == ':' ? root + "\\" : root;
    into.insert(Fold(path));
    std::size_t start = 0;
    while (start < rest.size()) {
        std::size_t end = rest.find('\\', start);
        if (end == std::string::npos) {
            end = rest.size();
        }
        if (path.back() != '\\') {
            path += "\\";
        }
        path += rest.substr(start, end - start);
        into.insert(Fold(path));
        start = end + 1;
    }
}

std::string FolderOf(const std::string &full) {
    std::size_t slash = full.rfind('\\');
    return full.substr(0, slash);
}

std::string Join(const std::string &folder, const std::string &name) {
    return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

bool FileExists(const std::string &full) {
    return M().files.count(Fold(full)) != 0;
}

// Finds the program of a WinExec command line as CreateProcess does for a simple name: the
// launcher's own folder, the current directory, the system folders, then PATH. A name with a
// folder in it is resolved against the current directory only.
std::string FindProgram(const std::string &commandLine) {
    Machine &m = M();
    std::string name;
    if (!commandLine.empty() && commandLine[0] == '"') {
        std::size_t close = commandLine.find('"', 1);
        name = commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else {
        name = commandLine.substr(0, commandLine.find(' '));
    }
    name = Slashes(name);
    std::size_t lastSlash = name.rfind('\\');
    std::string last = lastSlash == std::string::npos ? name : name.substr(lastSlash + 1);
    if (name.empty()) {
        return "";
    }
    if (last.find('.') == std::string::npos) {
        name += ".EXE";
    }
    if (name.find('\\') != std::string::npos || name.find(':') != std::string::npos) {
        auto full = Resolve(name);
        return full && FileExists(*full) ? *full : "";
    }
    std::vector<std::string> folders = {"C:\\LAUNCHER", m.currentDirectory, "C:\\WINDOWS\\SYSTEM32",
                                        "C:\\WINDOWS"};
    auto path = m.environment.find("PATH");
    if (path != m.environment.end()) {
        std::size_t start = 0;
        while (start <= path->second.size()) {
            std::size_t end = path->second.find(';', start);
            if (end == std::string::npos) {
                end = path->second.size();
            }
            if (end > start) {
                folders.push_back(path->second.substr(start, end - start));
            }
            start = end + 1;
        }
    }
    for (const std::string &folder : folders) {
        if (folder.empty()) {
            continue;
        }
        std::string candidate = Join(folder, name);
        if (FileExists(candidate)) {
            return candidate;
        }
    }
    return "";
}

std::string KeyPath(const std::string &path) {
    std::string trimmed = path;
    while (!trimmed.empty() && trimmed.back() == '\\') {
        trimmed.pop_back();
    }
    while (!trimmed.empty() && trimmed.front() == '\\') {
        trimmed.erase(trimmed.begin());
    }
    return trimmed;
}

} // namespace

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

void AddFolder(const std::string &path) {
    auto full = Normalise(Slashes(path));
    if (!full) {
        TestError("not a full path: " + path);
    }
    AddWithParents(M().folders, *full);
}

void AddFile(const std::string &path) {
    auto full = Normalise(Slashes(path));
    if (!full) {
        TestError("not a full path: " + path);
    }
    AddFolder(FolderOf(*full));
    M().files.insert(Fold(*full));
}

bool FolderExists(const std::string &fullPath) {
    auto full = Normalise(Slashes(fullPath));
    return full && M().folders.count(Fold(*full)) != 0;
}

std::string CurrentDirectory() {
    return M().currentDirectory;
}

void SetCurrentDirectoryText(const std::string &fullPath) {
    M().currentDirectory = fullPath;
}

void SetLongPathsEnabled(bool enabled) {
    M().longPaths = enabled;
}

std::optional<std::string> GetVariable(const std::string &name) {
    auto entry = M().environment.find(name);
    if (entry == M().environment.end()) {
        return std::nullopt;
    }
    return entry->second;
}

void SetVariable(const std::string &name, const std::string &value) {
    M().environment[name] = value;
}

Environment EnvironmentBlock() {
    return Environment(M().environment.begin(), M().environment.end());
}

void AddKey(const std::string &keyPath) {
    std::string path = KeyPath(keyPath);
    std::size_t start = 0;
    while (true) {
        std::size_t end = path.find('\\', start);
        M().keys[path.substr(0, end)];
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
}

void SetValue(const std::string &keyPath, const std::string &name, DWORD type,
              const std::vector<std::uint8_t> &bytes) {
    AddKey(keyPath);
    M().keys[KeyPath(keyPath)][name] = Value{type, bytes};
}

void SetStringValue(const std::string &keyPath, const std::string &name, const std::string &text,
                    DWORD type) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    SetValue(keyPath, name, type, bytes);
}

int OpenKeyCount() {
    return static_cast<int>(M().openKeys.size());
}

std::string RegistryDump() {
    std::string dump;
    for (const auto &[path, values] : M().keys) {
        dump += "[" + path + "]\n";
        for (const auto &[name, value] : values) {
            dump += name + " type " + std::to_string(value.type) + ":";
            for (std::uint8_t byte : value.bytes) {
                char hex[4];
                std::snprintf(hex, sizeof hex, " %02x", byte);
                dump += hex;
            }
            dump += "\n";
        }
    }
    return dump;
}

DWORD LastOpenOptions() {
    return M().lastOptions;
}

REGSAM LastOpenAccess() {
    return M().lastAccess;
}

void SetCodePage(UINT codePage, std::optional<CPINFO> info) {
    M().codePage = codePage;
    if (info) {
        M().codePageInfo[codePage] = *info;
    } else {
        M().codePageInfo.erase(codePage);
    }
}

void SetCommandLine(const std::string &bytes) {
    M().commandLine = bytes;
}

const char *CommandLineBuffer() {
    return M().commandLine.c_str();
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

// ---- The operations ---------------------------------------------------------------------------

using sim::M;

extern "C" {

LPSTR WINAPI GetCommandLineA(void) {
    sim::Called("GetCommandLineA");
    return M().commandLine.data();
}

UINT WINAPI GetACP(void) {
    sim::Called("GetACP");
    return M().codePage;
}

BOOL WINAPI GetCPInfo(UINT codePage, LPCPINFO info) {
    if (sim::Called("GetCPInfo") || info == nullptr) {
        return 0;
    }
    auto found = M().codePageInfo.find(codePage);
    if (found == M().codePageInfo.end()) {
        return 0;
    }
    *info = found->second;
    return 1;
}

LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result) {
    sim::Machine &m = M();
    m.lastOptions = options;
    m.lastAccess = desired;
    if (sim::Called("RegOpenKeyExA")) {
        return ERROR_ACCESS_DENIED;
    }
    if (key != HKEY_LOCAL_MACHINE || result == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    std::string path = sim::KeyPath(subKey ? subKey : "");
    if (m.keys.find(path) == m.keys.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    std::uintptr_t handle = m.nextHandle++;
    m.openKeys[handle] = sim::OpenKey{path, desired};
    *result = reinterpret_cast<HKEY>(handle);
    return ERROR_SUCCESS;
}

LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                             LPDWORD size) {
    sim::Machine &m = M();
    if (sim::Called("RegQueryValueExA")) {
        return ERROR_ACCESS_DENIED;
    }
    auto open = m.openKeys.find(reinterpret_cast<std::uintptr_t>(key));
    if (open == m.openKeys.end()) {
        return ERROR_INVALID_HANDLE;
    }
    if ((open->second.access & KEY_QUERY_VALUE) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    if (reserved != nullptr || (data != nullptr && size == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    const auto &values = m.keys[open->second.path];
    auto value = values.find(name ? name : "");
    if (value == values.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (type != nullptr) {
        *type = value->second.type;
    }
    DWORD needed = static_cast<DWORD>(value->second.bytes.size());
    if (data != nullptr) {
        if (needed > *size) {
            *size = needed;
            return ERROR_MORE_DATA;
        }
        if (needed != 0) {
            std::memcpy(data, value->second.bytes.data(), needed);
        }
    }
    if (size != nullptr) {
        *size = needed;
    }
    return ERROR_SUCCESS;
}

LONG WINAPI RegCloseKey(HKEY key) {
    if (sim::Called("RegCloseKey")) {
        return ERROR_ACCESS_DENIED;
    }
    return M().openKeys.erase(reinterpret_cast<std::uintptr_t>(key)) ? ERROR_SUCCESS
                                                                     : ERROR_INVALID_HANDLE;
}

LPSTR WINAPI lstrcpyA(LPSTR destination, LPCSTR source) {
    if (sim::Called("lstrcpyA") || destination == nullptr || source == nullptr) {
        return nullptr;
    }
    return std::strcpy(destination, source);
}

BOOL WINAPI SetCurrentDirectoryA(LPCSTR path) {
    sim::Machine &m = M();
    if (sim::Called("SetCurrentDirectoryA") || path == nullptr) {
        return 0;
    }
    auto full = sim::Resolve(path);
    if (!full || m.folders.count(sim::Fold(*full)) == 0) {
        return 0;
    }
    // The directory and a backslash and the NUL must fit MAX_PATH, unless long paths are on.
    std::size_t limit = m.longPaths ? 32767 : MAX_PATH;
    std::size_t withBackslash = full->back() == '\\' ? full->size() : full->size() + 1;
    if (std::strlen(path) + 1 > limit || withBackslash + 1 > limit) {
        return 0;
    }
    m.currentDirectory = *full;
    return 1;
}

DWORD WINAPI GetCurrentDirectoryA(DWORD capacity, LPSTR buffer) {
    if (sim::Called("GetCurrentDirectoryA")) {
        return 0;
    }
    const std::string &directory = M().currentDirectory;
    DWORD length = static_cast<DWORD>(directory.size());
    if (buffer == nullptr || capacity <= length) {
        return length + 1;
    }
    std::memcpy(buffer, directory.c_str(), length + 1);
    return length;
}

BOOL WINAPI SetEnvironmentVariableA(LPCSTR name, LPCSTR value) {
    if (sim::Called("SetEnvironmentVariableA") || name == nullptr || name[0] == '\0' ||
        std::strchr(name + 1, '=') != nullptr) {
        return 0;
    }
    if (value == nullptr) {
        M().environment.erase(name);
    } else {
        M().environment[name] = value;
    }
    return 1;
}

// Windows writes at most 1024 bytes, the NUL included. Only the conversions the launcher could
// use are known; any other is a test error.
int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...) {
    if (sim::Called("wsprintfA")) {
        return 0;
    }
    std::string out;
    va_list args;
    va_start(args, format);
    for (const char *f = format; *f != '\0'; f++) {
        if (*f != '%') {
            out += *f;
            continue;
        }
        f++;
        char number[32];
        switch (*f) {
        case '%':
            out += '%';
            break;
        case 's': {
            const char *text = va_arg(args, const char *);
            out += text ? text : "(null)";
            break;
        }
        case 'd':
            std::snprintf(number, sizeof number, "%d", va_arg(args, int));
            out += number;
            break;
        case 'u':
            std::snprintf(number, sizeof number, "%u", va_arg(args, unsigned));
            out += number;
            break;
        default:
            va_end(args);
            sim::TestError(std::string("wsprintfA conversion not simulated: ") + format);
        }
    }
    va_end(args);
    if (out.size() > 1023) {
        out.resize(1023);
    }
    std::memcpy(buffer, out.c_str(), out.size() + 1);
    return static_cast<int>(out.size());
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (sim::Called("MessageBoxA")) {
        return 0;
    }
    M().boxes.push_back(
        sim::MessageBox{owner, text ? text : "", caption ? caption : "Error", type});
    return 1; // IDOK: the user closed the box
}

UINT WINAPI WinExec(LPCSTR commandLine, UINT show) {
    sim::Machine &m = M();
    bool fail = sim::Called("WinExec");
    std::string command = commandLine ? commandLine : "";
    std::string program = fail ? "" : sim::FindProgram(command);
    m.starts.push_back(
        sim::StartRequest{command, show, program, m.currentDirectory, sim::EnvironmentBlock()});
    if (fail) {
        return 0;
    }
    return program.empty() ? static_cast<UINT>(ERROR_FILE_NOT_FOUND) : 33;
}

// Ends the test process. What the process did is told on stderr first, one line each, for the
// death tests that run the process entry: "start PROGRAM", "box CAPTION", "exit CODE".
void WINAPI ExitProcess(UINT exitCode) {
    for (const sim::StartRequest &start : M().starts) {
        std::fprintf(stderr, "start %s\n", start.commandLine.c_str());
    }
    for (const sim::MessageBox &box : M().boxes) {
        std::fprintf(stderr, "box %s\n", box.caption.c_str());
    }
    std::fprintf(stderr, "exit %u\n", exitCode);
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(static_cast<int>(exitCode));
}

} // extern "C"
