/*
 * The process entry. On Windows this is the program's own entry point: there is no C runtime,
 * no main and no WinMain, and the process ends through ExitProcess.
 */
#include "launcher.h"

/* Zero at start: only the code page's lead bytes are ever set. */
static LeadByteTable LeadBytes;

void WINAPI LauncherEntry(void) {
    const char *ArgumentTail;

    LoadLeadByteTable(&LeadBytes);
    ArgumentTail = FindArgumentTail(GetCommandLineA(), &LeadBytes);
    ExitProcess((UINT)RunLauncher(ArgumentTail));
}
