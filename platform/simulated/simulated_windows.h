// The simulated Windows machine: test API.
//
// A small model of the part of Windows the launcher touches: a registry below
// HKEY_LOCAL_MACHINE, folders and files with drive letters and UNC names, the current directory,
// the environment block with its "=X:" entries, the ANSI code page, the process command line, and
// a journal of what the launcher did. Every operation of windows_services.h can be made to fail at
// a chosen call. It is test machinery only and never part of LAUNCH.EXE.
//
// One file a part of the model: machine.cpp (the state, Reset, the journal, fault injection),
// registry.cpp, file_system.cpp (folders, paths, the current directory, the program search),
// environment.cpp, code_page.cpp (code page, characters, command line) and starts_and_boxes.cpp
// (WinExec, MessageBoxA, ExitProcess, lstrcpyA, wsprintfA); machine.h is what they share.
#ifndef LAUNCH_SIMULATED_WINDOWS_H
#define LAUNCH_SIMULATED_WINDOWS_H

#include "windows_services.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// Forgets everything: no keys, no folders but C:\ and the launcher's own folder C:\LAUNCHER, the
// current directory C:\START, an environment holding only PATH, code page 1252, the command line
// "LAUNCH.EXE", no faults, an empty journal.
void Reset();

// ---- Folders and files --------------------------------------------------------------------
// Paths are full Windows paths: "E:\PROD\X" or "\\SERVER\SHARE\DIR". Parents are made too.
void AddFolder(const std::string &path);
void AddFile(const std::string &path);
bool FolderExists(const std::string &fullPath);
std::string CurrentDirectory();
// Sets the current directory as if the launcher had been started there (no checks, no entry).
void SetCurrentDirectoryText(const std::string &fullPath);
// Windows 10's long-path setting: SetCurrentDirectoryA then takes folders past MAX_PATH.
void SetLongPathsEnabled(bool enabled);
// The full directory that SetCurrentDirectoryA would make current for path now, or nothing when
// it would refuse it (injected faults aside). Windows counts its MAX_PATH limit in characters of
// the ANSI code page, not in bytes: under a double-byte code page a current directory can take
// more than MAX_PATH bytes.
std::optional<std::string> FolderToEnter(const std::string &path);

// ---- Environment --------------------------------------------------------------------------
using Environment = std::map<std::string, std::string>; // names as first set, compared folded
std::optional<std::string> GetVariable(const std::string &name);
void SetVariable(const std::string &name, const std::string &value);
Environment EnvironmentBlock();
// Every "=X:" entry of an environment, as "name=value;" text: "=E:=E:\PROD\X;".
std::string DriveEntries(const Environment &environment);

// ---- Registry -----------------------------------------------------------------------------
// Key paths are below HKEY_LOCAL_MACHINE, such as "SOFTWARE\Talvox". Parents are made too.
void AddKey(const std::string &keyPath);
void SetValue(const std::string &keyPath, const std::string &name, DWORD type,
              const std::vector<std::uint8_t> &bytes);
// A string value stored with its terminator.
void SetStringValue(const std::string &keyPath, const std::string &name, const std::string &text,
                    DWORD type = REG_SZ);
int OpenKeyCount();
// Every key and value as text, to show that nothing in the registry changed.
std::string RegistryDump();
// The options and access of the last RegOpenKeyExA call.
DWORD LastOpenOptions();
REGSAM LastOpenAccess();

// ---- Code page and command line -----------------------------------------------------------
// The ANSI code page, and what GetCPInfo reports for it. For Windows' double-byte code pages
// 932, 936, 949, 950 and 1361 the machine knows their lead bytes and ignores info. GetCPInfo fails
// for any other code page without info.
void SetCodePage(UINT codePage, std::optional<CPINFO> info = std::nullopt);
void SetCommandLine(const std::string &bytes);
const char *CommandLineBuffer();

// ---- Journal ------------------------------------------------------------------------------
struct StartRequest {
    std::string commandLine; // as passed to WinExec
    UINT show;
    std::string resolvedProgram; // the file that was found, or empty when none was
    std::string currentDirectory;
    Environment environment;
};
struct MessageBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
};
const std::vector<StartRequest> &Starts();
const std::vector<MessageBox> &Boxes();
// Names of the operations called, in order.
const std::vector<std::string> &Calls();

// ---- Fault injection ----------------------------------------------------------------------
// Makes the nth call (counted from 1) of the named operation fail, and with fromThenOn every
// later call too. Each operation fails as Windows documents it failing:
//   RegOpenKeyExA, RegQueryValueExA, RegCloseKey: ERROR_ACCESS_DENIED, nothing opened or read;
//   GetCPInfo, SetCurrentDirectoryA, SetEnvironmentVariableA: FALSE, nothing changed;
//   GetCurrentDirectoryA: 0; lstrcpyA: NULL, nothing copied; wsprintfA: 0, nothing written;
//   MessageBoxA: 0, no box shown; WinExec: ERROR_FILE_NOT_FOUND, nothing started.
// GetCommandLineA, GetACP and ExitProcess cannot fail on Windows; naming them is a test error.
void FailCall(const std::string &operation, int nth = 1, bool fromThenOn = false);
// The operations that FailCall accepts.
const std::vector<std::string> &FailableOperations();

// ---- Exit ---------------------------------------------------------------------------------
// ExitProcess ends the test process with the code (use GoogleTest death tests), after telling
// on stderr a line "start PROGRAM" for each start request, "box CAPTION" for each message box and
// "exit CODE".

} // namespace sim

#endif // LAUNCH_SIMULATED_WINDOWS_H
