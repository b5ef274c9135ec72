// What the launcher does that a user or another program sees: start requests (WinExec), message
// boxes, the end of the process; all recorded in the journal. And the two string operations of
// kernel32 and user32 that the launcher uses to copy and format text.
#include "machine.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <unistd.h>

using sim::M;

extern "C" {

LPSTR WINAPI lstrcpyA(LPSTR destination, LPCSTR source) {
    if (sim::Called("lstrcpyA") || destination == nullptr || source == nullptr) {
        return nullptr;
    }
    return std::strcpy(destination, source);
}

// Windows writes at most 1024 bytes, the NUL included. Only the conversions the launcher could
// use are known; any other is a test error.
int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...) {
    if (sim::Called("wsprintfA")) {
        return 0;
    }
    std::string out;
    va_list args;
    va_start(args, format);
    for (const char *f = format; *f != '\0'; f++) {
        if (*f != '%') {
            out += *f;
            continue;
        }
        f++;
        char number[32];
        switch (*f) {
        case '%':
            out += '%';
            break;
        case 's': {
            const char *text = va_arg(args, const char *);
            out += text ? text : "(null)";
            break;
        }
        case 'd':
            std::snprintf(number, sizeof number, "%d", va_arg(args, int));
            out += number;
            break;
        case 'u':
            std::snprintf(number, sizeof number, "%u", va_arg(args, unsigned));
            out += number;
            break;
        default:
            va_end(args);
            sim::TestError(std::string("wsprintfA conversion not simulated: ") + format);
        }
    }
    va_end(args);
    if (out.size() > 1023) {
        out.resize(1023);
    }
    std::memcpy(buffer, out.c_str(), out.size() + 1);
    return static_cast<int>(out.size());
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (sim::Called("MessageBoxA")) {
        return 0;
    }
    M().boxes.push_back(
        sim::MessageBox{owner, text ? text : "", caption ? caption : "Error", type});
    return 1; // IDOK: the user closed the box
}

UINT WINAPI WinExec(LPCSTR commandLine, UINT show) {
    sim::Machine &m = M();
    bool fail = sim::Called("WinExec");
    std::string command = commandLine ? commandLine : "";
    std::string program = fail ? "" : sim::FindProgram(command);
    m.starts.push_back(
        sim::StartRequest{command, show, program, m.currentDirectory, sim::EnvironmentBlock()});
    if (fail) {
        return 0;
    }
    return program.empty() ? static_cast<UINT>(ERROR_FILE_NOT_FOUND) : 33;
}

// Ends the test process. What the process did is told on stderr first, one line each, for the
// death tests that run the process entry: "start PROGRAM", "box CAPTION", "exit CODE".
void WINAPI ExitProcess(UINT exitCode) {
    for (const sim::StartRequest &start : M().starts) {
        std::fprintf(stderr, "start %s\n", start.commandLine.c_str());
    }
    for (const sim::MessageBox &box : M().boxes) {
        std::fprintf(stderr, "box %s\n", box.caption.c_str());
    }
    std::fprintf(stderr, "exit %u\n", exitCode);
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(static_cast<int>(exitCode));
}

} // extern "C"
