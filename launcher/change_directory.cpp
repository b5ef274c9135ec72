// Entering a folder, and recording it in its drive's "=X:" environment entry.
#include "launcher.h"

namespace {

// The full directory as Windows reports it: at most 260 bytes and the NUL.
constexpr DWORD DirectorySize = MAX_PATH + 1;

// The entry's name: '=', the drive letter, ':' and a NUL.
constexpr DWORD EntryNameSize = 4;

} // namespace

int ChangeDirectory(const char *path) {
    // The entry's name followed by the directory it holds.
    char work[EntryNameSize + DirectorySize];
    char *directory = work + EntryNameSize;

    if (!SetCurrentDirectoryA(path)) {
        return -1;
    }
    // A result of DirectorySize or more is the size Windows needs, with the buffer untouched.
    DWORD length = GetCurrentDirectoryA(DirectorySize, directory);
    if (length == 0 || length >= DirectorySize) {
        return -1;
    }
    if ((directory[0] == '\\' || directory[0] == '/') && directory[1] == directory[0]) {
        return 0; // A UNC folder has no drive entry.
    }
    work[0] = '=';
    work[1] = directory[0] >= 'a' && directory[0] <= 'z' ? static_cast<char>(directory[0] - 0x20)
                                                         : directory[0];
    work[2] = ':';
    work[3] = '\0';
    if (!SetEnvironmentVariableA(work, directory)) {
        return -1;
    }
    return 0;
}
