// The process entry. On Windows this is the program's own entry point: there is no C runtime,
// no main and no WinMain, and the process ends through ExitProcess.
#include "launcher.h"

namespace {

// Zero at start: only the code page's lead bytes are ever set.
LeadByteTable LeadBytes;

} // namespace

void WINAPI LauncherEntry() {
    LoadLeadByteTable(&LeadBytes);
    const char *ArgumentTail = FindArgumentTail(GetCommandLineA(), &LeadBytes);
    ExitProcess(static_cast<UINT>(RunLauncher(ArgumentTail)));
}
