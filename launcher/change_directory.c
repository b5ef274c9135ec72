/* Entering a folder, and recording it in its drive's "=X:" environment entry. */
#include "launcher.h"

/* The full directory as Windows reports it: at most 260 bytes and the NUL. */
#define DIRECTORY_SIZE 261

int ChangeDirectory(const char *path) {
    /* The entry's name ("=X:" and a NUL) followed by the directory it holds. */
    char work[4 + DIRECTORY_SIZE];
    char *directory = work + 4;
    DWORD length;

    if (!SetCurrentDirectoryA(path)) {
        return -1;
    }
    /* A result of DIRECTORY_SIZE or more is the size Windows needs, with the buffer untouched. */
    length = GetCurrentDirectoryA(DIRECTORY_SIZE, directory);
    if (length == 0 || length >= DIRECTORY_SIZE) {
        return -1;
    }
    if ((directory[0] == '\\' || directory[0] == '/') && directory[1] == directory[0]) {
        return 0; /* A UNC folder has no drive entry. */
    }
    work[0] = '=';
    work[1] =
        directory[0] >= 'a' && directory[0] <= 'z' ? (char)(directory[0] - 0x20) : directory[0];
    work[2] = ':';
    work[3] = '\0';
    if (!SetEnvironmentVariableA(work, directory)) {
        return -1;
    }
    return 0;
}
