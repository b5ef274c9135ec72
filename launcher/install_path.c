/* The install-folder lookup in the machine-wide registry. */
#include "launcher.h"

char InstallPath[INSTALL_PATH_SIZE];

const char ProductKey[] = "SOFTWARE\\Talvox\\Ombrik\\Quarlo\\1.000";

static const char ValueName[] = "AppPath";

/*
 * The value's type is not examined: its bytes are taken as a string up to the first NUL.
 * Windows does not promise a terminator, so a value whose bytes hold none is taken whole and
 * terminated right after its last byte (a zero-length value gives the empty folder). A value of
 * 260 bytes with no NUL leaves no room for one: like any value too large for the buffer, it gives
 * 1. Neither buffer is ever read or written past its 260 bytes.
 */
int ReadInstallPath(void) {
    HKEY key;
    char buffer[INSTALL_PATH_SIZE];
    DWORD type = 0;
    DWORD size = INSTALL_PATH_SIZE;
    DWORD i;

    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return 1;
    }
    /* A size past the buffer cannot come with success; should it, nothing past it is read. */
    if (RegQueryValueExA(key, ValueName, 0, &type, (LPBYTE)buffer, &size) != ERROR_SUCCESS ||
        size > INSTALL_PATH_SIZE) {
        RegCloseKey(key);
        return 1;
    }
    for (i = 0; i < size && buffer[i] != '\0'; i++) {
    }
    if (i == INSTALL_PATH_SIZE) {
        RegCloseKey(key);
        return 1;
    }
    buffer[i] = '\0';
    lstrcpyA(InstallPath, buffer);
    RegCloseKey(key);
    return 0;
}
