/*
 * A stand-in for the product's programs (QUARLO.EXE, EDITOR.EXE, SETUP1\SETUP.EXE) in the Wine
 * scenarios. It appends what it inherited to the file named by LAUNCH_RECORD: its own path, the
 * current directory, its command line, the show state it was started with and every "=X:" entry.
 */
#include <windows.h>
#include <stdio.h>

int main(void) {
    char record[MAX_PATH];
    char text[1024];
    STARTUPINFOA startup;
    FILE *out;
    char *block;
    char *entry;

    if (!GetEnvironmentVariableA("LAUNCH_RECORD", record, sizeof record)) {
        return 2;
    }
    out = fopen(record, "ab");
    if (!out) {
        return 3;
    }
    GetModuleFileNameA(NULL, text, sizeof text);
    fprintf(out, "program=%s\n", text);
    GetCurrentDirectoryA(sizeof text, text);
    fprintf(out, "directory=%s\n", text);
    fprintf(out, "commandline=%s\n", GetCommandLineA());
    GetStartupInfoA(&startup);
    fprintf(out, "show=%s%u\n", (startup.dwFlags & STARTF_USESHOWWINDOW) ? "" : "unset:",
            (unsigned)startup.wShowWindow);
    block = GetEnvironmentStringsA();
    for (entry = block; *entry; entry += strlen(entry) + 1) {
        if (entry[0] == '=') {
            fprintf(out, "entry=%s\n", entry);
        }
    }
    FreeEnvironmentStringsA(block);
    fprintf(out, "end\n");
    fclose(out);
    return 0;
}
