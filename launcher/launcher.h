// The launcher's own logic: the launch decision, the install-folder lookup, the directory change
// and the argument tail. Plain functions over fixed-size buffers; every Windows call goes through
// platform/windows_services.h.
#ifndef LAUNCH_LAUNCHER_H
#define LAUNCH_LAUNCHER_H

#include "windows_services.h"

// Size of InstallPath and of the registry read buffer: a folder of at most 259 bytes and its NUL.
constexpr DWORD InstallPathSize = MAX_PATH;

// The install folder, filled once by ReadInstallPath. Zero at process start.
extern char InstallPath[InstallPathSize];

// Registry key of the product below HKEY_LOCAL_MACHINE.
extern const char ProductKey[];

// Reads the product's "AppPath" value into InstallPath. 0: read; 1: not registered.
int ReadInstallPath();

// Makes path the current directory and records it in the drive's "=X:" entry. 0 or -1.
int ChangeDirectory(const char *path);

// Compares two strings with only 'A'..'Z' folded to small letters: <0, 0 or >0.
int CompareNoCase(const char *a, const char *b);

// The whole launch decision for one argument tail; returns the process's exit code, 0 or 1.
int RunLauncher(const char *tail);

// Which bytes begin a two-byte character in the ANSI code page.
struct LeadByteTable {
    unsigned char isLead[256];
};

// Fills a zeroed table for the ANSI code page reported by GetACP (and GetCPInfo).
void LoadLeadByteTable(LeadByteTable *table);

// The argument tail of a command line: a pointer into it, past the program's name and blanks.
const char *FindArgumentTail(const char *commandLine, const LeadByteTable *table);

// The process entry: derives the tail, runs the launch decision and ends the process. Its name
// is not mangled, so that the link can name it as the image's entry point.
extern "C" DECLSPEC_NORETURN void WINAPI LauncherEntry();

#endif // LAUNCH_LAUNCHER_H
