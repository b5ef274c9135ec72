/* The launch decision: setup, the error box, or the main program or editor. */
#include "launcher.h"

static const char SetupProgram[] = "SETUP1\\SETUP.EXE";
static const char EditorSwitch[] = "EDITOR";
static const char EditorProgram[] = "EDITOR.EXE";
static const char MainProgram[] = "QUARLO.EXE";
static const char ErrorCaption[] = "Launch Error";
static const char ErrorFormat[] =
    "Could not change to directory %s!\n\nPlease run the installation program.";

/* Enough for the format with a 259-byte folder (329 bytes with the NUL). */
#define MESSAGE_SIZE 500

int CompareNoCase(const char *a, const char *b) {
    for (;; a++, b++) {
        unsigned char x = (unsigned char)*a;
        unsigned char y = (unsigned char)*b;
        if (x == y) {
            if (x == 0) {
                return 0;
            }
            continue;
        }
        if (x >= 'A' && x <= 'Z') {
            x = (unsigned char)(x + 0x20);
        }
        if (y >= 'A' && y <= 'Z') {
            y = (unsigned char)(y + 0x20);
        }
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
}

int RunLauncher(const char *tail) {
    if (ReadInstallPath() != 0) {
        /* Not registered: start setup from the folder the launcher was started in. */
        WinExec(SetupProgram, SW_SHOWDEFAULT);
        return 0;
    }
    if (ChangeDirectory(InstallPath) == -1) {
        char message[MESSAGE_SIZE];
        /* Should formatting fail, the box shows an empty text rather than stack garbage. */
        message[0] = '\0';
        wsprintfA(message, ErrorFormat, InstallPath);
        MessageBoxA(0, message, ErrorCaption, MB_ICONERROR);
        return 1;
    }
    WinExec(CompareNoCase(EditorSwitch, tail) == 0 ? EditorProgram : MainProgram, SW_SHOWDEFAULT);
    return 0;
}
