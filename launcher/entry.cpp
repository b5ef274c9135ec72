// The process entry. On Windows this is the program's own entry point: there is no C runtime,
// no main and no WinMain, and the process ends through ExitProcess.
#include "launcher.h"

void WINAPI LauncherEntry() {
    // On the stack, so that the image holds no zeros for it; only lead bytes are ever set.
    LeadByteTable leadBytes = {};
    LoadLeadByteTable(&leadBytes);
    const char *ArgumentTail = FindArgumentTail(GetCommandLineA(), &leadBytes);
    ExitProcess(static_cast<UINT>(RunLauncher(ArgumentTail)));
}
