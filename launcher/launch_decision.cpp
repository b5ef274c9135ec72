// The launch decision: setup, the error box, or the main program or editor.
#include "launcher.h"

namespace {

constexpr char SetupProgram[] = "SETUP1\\SETUP.EXE";
constexpr char EditorSwitch[] = "EDITOR";
constexpr char EditorProgram[] = "EDITOR.EXE";
constexpr char MainProgram[] = "QUARLO.EXE";
constexpr char ErrorCaption[] = "Launch Error";
constexpr char ErrorFormat[] =
    "Could not change to directory %s!\n\nPlease run the installation program.";

// How many conversions the format holds, and whether each is a plain "%s".
constexpr int PlainStringConversions(const char *format) {
    int count = 0;
    for (; *format != '\0'; format++) {
        if (*format == '%') {
            if (format[1] != 's') {
                return -1;
            }
            count++;
        }
    }
    return count;
}

// The box's buffer, and the longest text it must hold: the format with its "%s" replaced by a
// folder of 259 bytes, and the NUL. wsprintfA is told no size, so this is what keeps it inside.
constexpr DWORD MessageSize = 500;
constexpr DWORD LongestMessage = sizeof ErrorFormat - 2 + (InstallPathSize - 1);
static_assert(PlainStringConversions(ErrorFormat) == 1);
static_assert(LongestMessage <= MessageSize);

} // namespace

int CompareNoCase(const char *a, const char *b) {
    for (;; a++, b++) {
        auto x = static_cast<unsigned char>(*a);
        auto y = static_cast<unsigned char>(*b);
        if (x == y) {
            if (x == 0) {
                return 0;
            }
            continue;
        }
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<unsigned char>(x + 0x20);
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<unsigned char>(y + 0x20);
        }
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
}

int RunLauncher(const char *tail) {
    if (ReadInstallPath() != 0) {
        // Not registered: start setup from the folder the launcher was started in.
        WinExec(SetupProgram, SW_SHOWDEFAULT);
        return 0;
    }
    if (ChangeDirectory(InstallPath) == -1) {
        char message[MessageSize];
        // Should formatting fail, the box shows an empty text rather than stack garbage.
        message[0] = '\0';
        wsprintfA(message, ErrorFormat, InstallPath);
        MessageBoxA(nullptr, message, ErrorCaption, MB_ICONERROR);
        return 1;
    }
    WinExec(CompareNoCase(EditorSwitch, tail) == 0 ? EditorProgram : MainProgram, SW_SHOWDEFAULT);
    return 0;
}
