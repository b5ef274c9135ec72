// The install-folder lookup in the machine-wide registry.
#include "launcher.h"

char InstallPath[InstallPathSize];

const char ProductKey[] = "SOFTWARE\\Talvox\\Ombrik\\Quarlo\\1.000";

namespace {

constexpr char ValueName[] = "AppPath";

} // namespace

// The value's type is not examined: its bytes are taken as a string up to the first NUL.
// Windows does not promise a terminator, so a value whose bytes hold none is taken whole and
// terminated right after its last byte (a zero-length value gives the empty folder). A value of
// 260 bytes with no NUL leaves no room for one: like any value too large for the buffer, it gives
// 1. Neither buffer is ever read or written past its 260 bytes.
int ReadInstallPath() {
    HKEY key;
    char buffer[InstallPathSize];
    DWORD type = 0;
    DWORD size = sizeof buffer;

    // lstrcpyA below copies a string of the read buffer: it fits InstallPath whatever it holds.
    static_assert(sizeof buffer <= sizeof InstallPath);

    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return 1;
    }
    // A size past the buffer cannot come with success; should it, nothing past it is read.
    if (RegQueryValueExA(key, ValueName, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size) !=
            ERROR_SUCCESS ||
        size > sizeof buffer) {
        RegCloseKey(key);
        return 1;
    }
    DWORD length = 0;
    while (length < size && buffer[length] != '\0') {
        length++;
    }
    if (length == sizeof buffer) {
        RegCloseKey(key);
        return 1;
    }
    buffer[length] = '\0';
    lstrcpyA(InstallPath, buffer);
    RegCloseKey(key);
    return 0;
}
