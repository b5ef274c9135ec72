/* Helpers for running the real LAUNCH.EXE under Wine; see wine_helpers.h. */
#include "wine_helpers.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Both registry views: on 64-bit Windows a 32-bit program's HKLM\SOFTWARE is the 64-bit view's
 * HKLM\SOFTWARE\Wow6432Node. */
static const REGSAM Views[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};

void ForgetProduct(void) {
    size_t i;
    for (i = 0; i < sizeof Views / sizeof Views[0]; i++) {
        HKEY software;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | Views[i],
                          &software) == ERROR_SUCCESS) {
            RegDeleteTreeA(software, "Talvox");
            RegDeleteKeyExA(software, "Talvox", Views[i], 0);
            RegCloseKey(software);
        }
    }
}

static int CreateProductKey(REGSAM view, const char *path, HKEY *key) {
    return RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, NULL, 0, KEY_ALL_ACCESS | view, NULL, key,
                           NULL) == ERROR_SUCCESS;
}

int RegisterKeyOnly(void) {
    HKEY key;
    if (!CreateProductKey(0, PRODUCT_KEY, &key)) {
        return 0;
    }
    RegCloseKey(key);
    return 1;
}

int RegisterValueAt(REGSAM view, const char *keyPath, DWORD type, const void *bytes, DWORD size) {
    HKEY key;
    LONG status;
    if (!CreateProductKey(view, keyPath, &key)) {
        return 0;
    }
    status = RegSetValueExA(key, "AppPath", 0, type, (const BYTE *)bytes, size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

int RegisterValue(DWORD type, const void *bytes, DWORD size) {
    return RegisterValueAt(0, PRODUCT_KEY, type, bytes, size);
}

static void Append(char *out, size_t capacity, const char *text) {
    size_t used = strlen(out);
    if (used + 1 < capacity) {
        strncat(out, text, capacity - used - 1);
    }
}

static void DumpKey(REGSAM view, const char *path, char *out, size_t capacity) {
    HKEY key;
    char name[512];
    BYTE data[1024];
    char line[64];
    DWORD index, nameSize, dataSize, type, i;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
        return;
    }
    Append(out, capacity, view == KEY_WOW64_32KEY ? "[32-bit view: " : "[64-bit view: ");
    Append(out, capacity, path);
    Append(out, capacity, "]\n");
    for (index = 0;; index++) {
        nameSize = sizeof name;
        dataSize = sizeof data;
        if (RegEnumValueA(key, index, name, &nameSize, NULL, &type, data, &dataSize) !=
            ERROR_SUCCESS) {
            break;
        }
        snprintf(line, sizeof line, " type %lu:", (unsigned long)type);
        Append(out, capacity, name);
        Append(out, capacity, line);
        for (i = 0; i < dataSize; i++) {
            snprintf(line, sizeof line, " %02x", data[i]);
            Append(out, capacity, line);
        }
        Append(out, capacity, "\n");
    }
    for (index = 0;; index++) {
        char child[1024];
        nameSize = sizeof name;
        if (RegEnumKeyExA(key, index, name, &nameSize, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) {
            break;
        }
        snprintf(child, sizeof child, "%s\\%s", path, name);
        DumpKey(view, child, out, capacity);
    }
    RegCloseKey(key);
}

void DumpRegistry(char *out, size_t capacity) {
    size_t i;
    out[0] = '\0';
    for (i = 0; i < sizeof Views / sizeof Views[0]; i++) {
        DumpKey(Views[i], COMPANY_KEY, out, capacity);
    }
}

int MakeFolders(const char *path) {
    char partial[MAX_PATH * 2];
    size_t i;
    size_t length = strlen(path);
    if (length >= sizeof partial) {
        return 0;
    }
    for (i = 0; i <= length; i++) {
        partial[i] = path[i];
        if ((path[i] == '\\' || path[i] == '\0') && i > 2) {
            partial[i] = '\0';
            CreateDirectoryA(partial, NULL);
            partial[i] = path[i];
        }
    }
    return (GetFileAttributesA(path) & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int PlaceStandin(const char *path) {
    char folder[MAX_PATH * 2];
    char *slash;
    snprintf(folder, sizeof folder, "%s", path);
    slash = strrchr(folder, '\\');
    if (slash) {
        *slash = '\0';
        MakeFolders(folder);
    }
    return CopyFileA(STANDIN_FILE, path, FALSE) != 0;
}

typedef struct {
    DWORD processId;
    HWND found;
} BoxSearch;

static BOOL CALLBACK FindBox(HWND window, LPARAM data) {
    BoxSearch *search = (BoxSearch *)data;
    char className[64];
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

/* The pixels of a screen area, or of an icon drawn over a background colour, as 32-bit values. */
static DWORD *Pixels(const RECT *area, HICON icon, COLORREF background) {
    int width = area->right - area->left, height = area->bottom - area->top;
    BITMAPINFO info;
    void *bits;
    DWORD *copy = NULL;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (bitmap) {
        SelectObject(memory, bitmap);
        if (icon) {
            HBRUSH brush = CreateSolidBrush(background);
            RECT all = {0, 0, width, height};
            FillRect(memory, &all, brush);
            DeleteObject(brush);
            DrawIconEx(memory, 0, 0, icon, width, height, 0, NULL, DI_NORMAL);
        } else {
            BitBlt(memory, 0, 0, width, height, screen, area->left, area->top, SRCCOPY);
        }
        GdiFlush();
        copy = malloc((size_t)width * (size_t)height * 4);
        if (copy) {
            memcpy(copy, bits, (size_t)width * (size_t)height * 4);
        }
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return copy;
}

/*
 * Whether an icon control shows the system's stop icon. Its handle belongs to the launcher's
 * process, so the pictures are compared: what the control shows on the screen against each of
 * the four system icons of a box drawn here; the stop icon must be the closest.
 */
static int ShowsStopIcon(HWND control) {
    static const LPCSTR icons[] = {(LPCSTR)IDI_HAND, (LPCSTR)IDI_EXCLAMATION, (LPCSTR)IDI_QUESTION,
                                   (LPCSTR)IDI_ASTERISK};
    RECT area;
    DWORD *shown;
    long best = -1;
    int bestIcon = -1;
    int i, count;
    GetWindowRect(control, &area);
    count = (area.right - area.left) * (area.bottom - area.top);
    shown = count > 0 ? Pixels(&area, NULL, 0) : NULL;
    if (!shown) {
        return 0;
    }
    for (i = 0; i < 4; i++) {
        COLORREF corner = RGB((shown[0] >> 16) & 0xFF, (shown[0] >> 8) & 0xFF, shown[0] & 0xFF);
        DWORD *drawn = Pixels(&area, LoadIconA(NULL, icons[i]), corner);
        long differing = 0;
        int p;
        if (!drawn) {
            continue;
        }
        for (p = 0; p < count; p++) {
            differing += (drawn[p] & 0xFFFFFF) != (shown[p] & 0xFFFFFF);
        }
        free(drawn);
        if (best < 0 || differing < best) {
            best = differing;
            bestIcon = i;
        }
    }
    free(shown);
    return bestIcon == 0 && best < count / 10;
}

static BOOL CALLBACK ReadControl(HWND control, LPARAM data) {
    BoxSeen *box = (BoxSeen *)data;
    char className[64];
    GetClassNameA(control, className, sizeof className);
    if (_stricmp(className, "Button") == 0) {
        if (box->buttons++ == 0) {
            GetWindowTextA(control, box->button, sizeof box->button);
        }
    } else if (_stricmp(className, "Static") == 0 &&
               (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        box->stopIcon = ShowsStopIcon(control);
    }
    return TRUE;
}

/* Saves the window's area of the screen as a 24-bit BMP. */
static void Screenshot(HWND window, const char *path) {
    RECT area;
    HDC screen, memory;
    HBITMAP bitmap;
    BITMAPINFO info;
    BITMAPFILEHEADER header;
    void *pixels;
    int width, height;
    DWORD stride;
    FILE *out;

    GetWindowRect(window, &area);
    area.left -= 12;
    area.top -= 12;
    area.right += 12;
    area.bottom += 12;
    width = area.right - area.left;
    height = area.bottom - area.top;
    stride = ((DWORD)width * 3 + 3) & ~3u;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    screen = GetDC(NULL);
    memory = CreateCompatibleDC(screen);
    bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, NULL, 0);
    SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    out = fopen(path, "wb");
    if (out) {
        memset(&header, 0, sizeof header);
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof header + sizeof info.bmiHeader;
        header.bfSize = header.bfOffBits + stride * (DWORD)height;
        fwrite(&header, sizeof header, 1, out);
        fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        fwrite(pixels, stride, (size_t)height, out);
        fclose(out);
    }
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(NULL, screen);
}

long RunLaunchExe(const char *launcher, const char *commandLine, const char *startIn, BoxSeen *box,
                  const char *screenshot) {
    STARTUPINFOA startup;
    PROCESS_INFORMATION process;
    char line[2048];
    DWORD exitCode = 0;
    DWORD waited = 0;
    HWND closed = NULL;

    memset(box, 0, sizeof *box);
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    snprintf(line, sizeof line, "%s", commandLine);
    if (!CreateProcessA(launcher, line, NULL, NULL, FALSE, 0, NULL, startIn, &startup, &process)) {
        return -1;
    }
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        BoxSearch search = {process.dwProcessId, NULL};
        waited += 50;
        if (waited > 20000) {
            TerminateProcess(process.hProcess, 99);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
            return -1;
        }
        EnumWindows(FindBox, (LPARAM)&search);
        if (search.found == NULL || search.found == closed) {
            continue;
        }
        if (box->boxes++ == 0) {
            Sleep(300); /* let it draw before it is read and pictured */
            GetDlgItemTextA(search.found, 0xFFFF, box->text, sizeof box->text);
            GetWindowTextA(search.found, box->caption, sizeof box->caption);
            EnumChildWindows(search.found, ReadControl, (LPARAM)box);
            if (screenshot) {
                Screenshot(search.found, screenshot);
            }
        }
        closed = search.found;
        PostMessageA(search.found, WM_COMMAND, IDOK, 0);
    }
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return (long)exitCode;
}

static void Field(const char *text, const char *name, char *out, size_t capacity) {
    size_t length = strlen(name);
    const char *line;
    out[0] = '\0';
    for (line = text; line && *line; line = strchr(line, '\n'), line = line ? line + 1 : NULL) {
        if (strncmp(line, name, length) == 0 && line[length] == '=') {
            const char *end = strchr(line, '\n');
            size_t size = end ? (size_t)(end - line) - length - 1 : strlen(line + length + 1);
            if (size >= capacity) {
                size = capacity - 1;
            }
            memcpy(out, line + length + 1, size);
            out[size] = '\0';
            return;
        }
    }
}

void ReadRecord(StartRecord *record, DWORD waitMs) {
    static char text[8192];
    DWORD waited = 0;
    const char *line;
    memset(record, 0, sizeof *record);
    for (;;) {
        FILE *in = fopen(RECORD_FILE, "rb");
        size_t size = 0;
        if (in) {
            size = fread(text, 1, sizeof text - 1, in);
            fclose(in);
        }
        text[size] = '\0';
        if (strstr(text, "\nend\n") || waited >= waitMs) {
            break;
        }
        Sleep(50);
        waited += 50;
    }
    if (!strstr(text, "\nend\n")) {
        return;
    }
    record->found = 1;
    Field(text, "program", record->program, sizeof record->program);
    Field(text, "directory", record->directory, sizeof record->directory);
    Field(text, "commandline", record->commandLine, sizeof record->commandLine);
    Field(text, "show", record->show, sizeof record->show);
    for (line = text; line && *line; line = strchr(line, '\n'), line = line ? line + 1 : NULL) {
        if (strncmp(line, "entry=", 6) == 0) {
            const char *end = strchr(line, '\n');
            size_t used = strlen(record->entries);
            size_t size = (size_t)(end - line) - 6;
            if (used + size + 2 < sizeof record->entries) {
                memcpy(record->entries + used, line + 6, size);
                record->entries[used + size] = ';';
                record->entries[used + size + 1] = '\0';
            }
        }
    }
}
