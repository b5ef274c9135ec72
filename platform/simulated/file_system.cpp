// Folders and files: drive letters and UNC names, case-insensitive; how Windows resolves
// relative, root-relative and drive-relative paths; the current directory and its length limit;
// and the search that WinExec makes for a program.
#include "machine.h"

#include <algorithm>
#include <cstring>

namespace sim {
namespace {

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

std::string FolderOf(const std::string &full) {
    std::size_t slash = full.rfind('\\');
    return full.substr(0, slash);
}

std::string Join(const std::string &folder, const std::string &name) {
    return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

} // namespace

std::string Slashes(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// The root of a drive keeps its backslash ("C:\"); a UNC root does not.
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

bool FileExists(const std::string &full) {
    return M().files.count(Fold(full)) != 0;
}

// Finds the program of a WinExec command line as CreateProcess does. A name that is rooted (a
// drive, a UNC name, a leading backslash) or starts with ".\" or "..\" is taken against the
// current directory alone. Any other name, a bare one or one with a folder in it such as
// "SETUP1\SETUP.EXE", is searched for: the launcher's own folder, the current directory, the
// system folders, then PATH. NoDefaultCurrentDirectoryInExePath in the environment, whatever its
// value, takes the current directory out of that search for names without a backslash.
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
    bool hasFolder = name.find('\\') != std::string::npos;
    if (name.find(':') != std::string::npos || name[0] == '\\' || name.rfind(".\\", 0) == 0 ||
        name.rfind("..\\", 0) == 0) {
        auto full = Resolve(name);
        return full && FileExists(*full) ? *full : "";
    }
    std::vector<std::string> folders = {"C:\\LAUNCHER"};
    if (hasFolder || m.environment.count("NoDefaultCurrentDirectoryInExePath") == 0) {
        folders.push_back(m.currentDirectory);
    }
    folders.insert(folders.end(), {"C:\\WINDOWS\\SYSTEM32", "C:\\WINDOWS"});
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
        auto candidate = Normalise(Join(folder, name));
        if (candidate && FileExists(*candidate)) {
            return *candidate;
        }
    }
    return "";
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

std::optional<std::string> FolderToEnter(const std::string &path) {
    Machine &m = M();
    auto full = Resolve(path);
    if (!full || m.folders.count(Fold(*full)) == 0) {
        return std::nullopt;
    }
    // The path given with its NUL, and the directory with a backslash and the NUL, must fit
    // MAX_PATH characters, unless long paths are on.
    std::size_t limit = m.longPaths ? 32767 : MAX_PATH;
    std::size_t characters = CharacterCount(*full);
    std::size_t withBackslash = full->back() == '\\' ? characters : characters + 1;
    if (CharacterCount(path) + 1 > limit || withBackslash + 1 > limit) {
        return std::nullopt;
    }
    return full;
}

} // namespace sim

using sim::M;

extern "C" {

BOOL WINAPI SetCurrentDirectoryA(LPCSTR path) {
    if (sim::Called("SetCurrentDirectoryA") || path == nullptr) {
        return 0;
    }
    auto full = sim::FolderToEnter(path);
    if (!full) {
        return 0;
    }
    M().currentDirectory = *full;
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

} // extern "C"
