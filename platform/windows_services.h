/*
 * The Windows services the launcher stands on.
 *
 * This is the only header of the launcher that knows where it is built. On Windows it is
 * <windows.h> and the launcher calls its imports directly. Everywhere else it declares exactly the
 * operations, types and constants the launcher uses, written from what the launcher needs of them,
 * and the simulated Windows machine in platform/simulated provides them.
 *
 * Operations used, by library:
 *   kernel32: GetCommandLineA, GetACP, GetCPInfo, lstrcpyA, SetCurrentDirectoryA,
 *             GetCurrentDirectoryA, SetEnvironmentVariableA, WinExec, ExitProcess
 *   advapi32: RegOpenKeyExA, RegQueryValueExA, RegCloseKey
 *   user32:   wsprintfA, MessageBoxA
 */
#ifndef LAUNCH_WINDOWS_SERVICES_H
#define LAUNCH_WINDOWS_SERVICES_H

#ifdef _WIN32

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#else

#include <cstdint>

extern "C" {

#define WINAPI
#define WINAPIV
#define DECLSPEC_NORETURN __attribute__((noreturn))

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned int UINT;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef char CHAR;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef BYTE *LPBYTE;
typedef DWORD *LPDWORD;
typedef DWORD REGSAM;
typedef struct SimKey *HKEY;
typedef HKEY *PHKEY;
typedef struct SimWindow *HWND;

#define MAX_PATH 260
#define MAX_LEADBYTES 12
#define MAX_DEFAULTCHAR 2

typedef struct {
    UINT MaxCharSize;
    BYTE DefaultChar[MAX_DEFAULTCHAR];
    BYTE LeadByte[MAX_LEADBYTES];
} CPINFO, *LPCPINFO;

#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(std::uintptr_t{0x80000002u}))
#define KEY_QUERY_VALUE 0x0001u
#define KEY_READ 0x20019u

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_MORE_DATA 234L

#define REG_NONE 0u
#define REG_SZ 1u
#define REG_EXPAND_SZ 2u
#define REG_BINARY 3u
#define REG_DWORD 4u
#define REG_MULTI_SZ 7u

#define MB_OK 0x00u
#define MB_ICONERROR 0x10u
#define SW_SHOWDEFAULT 10

LPSTR WINAPI GetCommandLineA();
UINT WINAPI GetACP();
BOOL WINAPI GetCPInfo(UINT codePage, LPCPINFO info);
LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result);
LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                             LPDWORD size);
LONG WINAPI RegCloseKey(HKEY key);
LPSTR WINAPI lstrcpyA(LPSTR destination, LPCSTR source);
BOOL WINAPI SetCurrentDirectoryA(LPCSTR path);
DWORD WINAPI GetCurrentDirectoryA(DWORD capacity, LPSTR buffer);
BOOL WINAPI SetEnvironmentVariableA(LPCSTR name, LPCSTR value);
int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
UINT WINAPI WinExec(LPCSTR commandLine, UINT show);
DECLSPEC_NORETURN void WINAPI ExitProcess(UINT exitCode);

} // extern "C"

#endif /* _WIN32 */

#endif /* LAUNCH_WINDOWS_SERVICES_H */
