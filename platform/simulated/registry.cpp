// The registry below HKEY_LOCAL_MACHINE: keys and values with a type and raw bytes, queried as
// Windows documents it (ERROR_MORE_DATA with the size needed and the buffer untouched, no
// terminator added), and the handles of open keys.
#include "machine.h"

#include <cstdio>
#include <cstring>

namespace sim {
namespace {

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

} // namespace sim

using sim::M;

extern "C" {

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

} // extern "C"
