/*
 * End-to-end scenarios of the real LAUNCH.EXE under Wine.
 *
 *   scenarios.exe GROUP [--screenshot FILE.BMP]
 *
 * Each scenario registers the product (or not) with exact bytes, starts the launcher with an
 * exact command line, closes any box it shows, and checks the exit code, which stand-in started
 * (or none), the directory, "=X:" entries, command line and show state it inherited, the exact box
 * text, caption, icon and button, and that the registry is as it was. It prints a line a scenario
 * and a closing "N passed, N failed"; the exit code is 1 when any failed.
 */
#include "wine_helpers.h"

#include <stdio.h>
#include <string.h>

#define LAUNCHER TEST_ROOT "\\bin\\LAUNCH.EXE"
#define START_FOLDER TEST_ROOT "\\start"
#define SETUP START_FOLDER "\\SETUP1\\SETUP.EXE"

/* A folder of 240 characters, entered and started from; and one of 259, the longest value. */
#define L40 "LLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLL"
#define LONG_FOLDER "E:\\" L40 L40 L40 L40 L40 "LLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLL"
#define LONGEST_FOLDER LONG_FOLDER "MMMMMMMMMMMMMMMMMMM"

enum Registry { NOT_REGISTERED, KEY_ONLY, VALUE };

typedef struct {
    const char *group;
    const char *name;
    enum Registry registry;
    DWORD type;
    const char *bytes;
    DWORD size;
    const char *commandLine;
    const char *startIn;
    long exitCode;
    const char *program; /* the stand-in that starts, or NULL for none */
    const char *directory;
    const char *entries;
    const char *boxFolder; /* the folder named in the box, or NULL for no box */
} Scenario;

/* A string value with its terminator, and one stored without. */
#define SZ(text) VALUE, REG_SZ, text, sizeof(text)
#define TYPED(type, text) VALUE, type, text, sizeof(text)
#define BARE(type, text) VALUE, type, text, sizeof(text) - 1

#define PLAIN "LAUNCH.EXE"
#define MAIN_X "E:\\PROD\\X\\QUARLO.EXE", "E:\\PROD\\X", "=E:=E:\\PROD\\X;", NULL
#define EDITOR_X "E:\\PROD\\X\\EDITOR.EXE", "E:\\PROD\\X", "=E:=E:\\PROD\\X;", NULL
#define SETUP_RUN SETUP, START_FOLDER, "", NULL
#define NOTHING NULL, NULL, NULL

/* 260 characters and a NUL, filled in by main. */
static char Filler[261];

static const Scenario Scenarios[] = {
    /* Every outcome of the launch decision. */
    {"decision", "main program", SZ("E:\\PROD\\X"), PLAIN, START_FOLDER, 0, MAIN_X},
    {"decision", "editor", SZ("E:\\PROD\\X"), PLAIN " EDITOR", START_FOLDER, 0, EDITOR_X},
    {"decision", "editor in small letters", SZ("E:\\PROD\\X"), PLAIN " editor", START_FOLDER, 0,
     EDITOR_X},
    {"decision", "editor in mixed letters", SZ("E:\\PROD\\X"), PLAIN " eDiToR", START_FOLDER, 0,
     EDITOR_X},
    {"decision", "not registered", NOT_REGISTERED, 0, NULL, 0, PLAIN, START_FOLDER, 0, SETUP_RUN},
    {"decision", "not registered, editor asked", NOT_REGISTERED, 0, NULL, 0, PLAIN " EDITOR",
     START_FOLDER, 0, SETUP_RUN},
    {"decision", "folder missing", SZ("E:\\PROD\\MISSING"), PLAIN, START_FOLDER, 1, NOTHING,
     "E:\\PROD\\MISSING"},
    {"decision", "folder without the program", SZ("E:\\PROD\\EMPTY"), PLAIN, START_FOLDER, 0,
     NOTHING, NULL},

    /* The editor switch's near misses, and odd command lines. */
    {"tail", "trailing blank", SZ("E:\\PROD\\X"), PLAIN " EDITOR ", START_FOLDER, 0, MAIN_X},
    {"tail", "further word", SZ("E:\\PROD\\X"), PLAIN " EDITOR FILE", START_FOLDER, 0, MAIN_X},
    {"tail", "slash", SZ("E:\\PROD\\X"), PLAIN " /EDITOR", START_FOLDER, 0, MAIN_X},
    {"tail", "hyphen", SZ("E:\\PROD\\X"), PLAIN " -EDITOR", START_FOLDER, 0, MAIN_X},
    {"tail", "quoted switch", SZ("E:\\PROD\\X"), PLAIN " \"EDITOR\"", START_FOLDER, 0, MAIN_X},
    {"tail", "inner and trailing blanks", SZ("E:\\PROD\\X"), PLAIN "   EDITOR  ", START_FOLDER, 0,
     MAIN_X},
    {"tail", "tab", SZ("E:\\PROD\\X"), PLAIN "\tEDITOR", START_FOLDER, 0, EDITOR_X},
    {"tail", "quoted path with blanks", SZ("E:\\PROD\\X"),
     "\"C:\\launch-test\\my bin\\LAUNCH.EXE\" EDITOR", START_FOLDER, 0, EDITOR_X},
    {"tail", "no blank after the quote", SZ("E:\\PROD\\X"),
     "\"C:\\launch-test\\my bin\\LAUNCH.EXE\"EDITOR", START_FOLDER, 0, EDITOR_X},
    {"tail", "no closing quote", SZ("E:\\PROD\\X"), "\"LAUNCH.EXE EDITOR", START_FOLDER, 0, MAIN_X},
    {"tail", "leading blank", SZ("E:\\PROD\\X"), " EDITOR", START_FOLDER, 0, EDITOR_X},
    {"tail", "empty quoted name", SZ("E:\\PROD\\X"), "\"\"EDITOR", START_FOLDER, 0, EDITOR_X},
    {"tail", "empty command line", SZ("E:\\PROD\\X"), "", START_FOLDER, 0, MAIN_X},

    /* Registry values: absent, other types, boundary lengths, no terminator. */
    {"registry", "key without the value", KEY_ONLY, 0, NULL, 0, PLAIN, START_FOLDER, 0, SETUP_RUN},
    {"registry", "259 characters, the longest", SZ(LONGEST_FOLDER), PLAIN, START_FOLDER, 1, NOTHING,
     LONGEST_FOLDER},
    {"registry", "260 characters, too large", VALUE, REG_SZ, Filler, 261, PLAIN, START_FOLDER, 0,
     SETUP_RUN},
    {"registry", "260 bytes without terminator", VALUE, REG_BINARY, Filler, 260, PLAIN,
     START_FOLDER, 0, SETUP_RUN},
    {"registry", "string without terminator", BARE(REG_SZ, "E:\\PROD\\X"), PLAIN, START_FOLDER, 0,
     MAIN_X},
    {"registry", "binary without terminator", BARE(REG_BINARY, "E:\\PROD\\X"), PLAIN, START_FOLDER,
     0, MAIN_X},
    {"registry", "multi-string", TYPED(REG_MULTI_SZ, "E:\\PROD\\X\0E:\\OTHER\0"), PLAIN,
     START_FOLDER, 0, MAIN_X},
    {"registry", "expandable string not expanded", TYPED(REG_EXPAND_SZ, "E:\\%PRODDIR%"), PLAIN,
     START_FOLDER, 1, NOTHING, "E:\\%PRODDIR%"},
    {"registry", "number 1", VALUE, REG_DWORD, "\x01\0\0\0", 4, PLAIN, START_FOLDER, 1, NOTHING,
     "\x01"},
    {"registry", "empty string", SZ(""), PLAIN, START_FOLDER, 1, NOTHING, ""},
    {"registry", "zero bytes", VALUE, REG_SZ, "", 0, PLAIN, START_FOLDER, 1, NOTHING, ""},

    /* Folders: relative, drive root, small drive letter, trailing backslash, UNC, long. */
    {"folders", "trailing backslash", SZ("E:\\PROD\\X\\"), PLAIN, START_FOLDER, 0, MAIN_X},
    {"folders", "forward slashes", SZ("E:/PROD/X"), PLAIN, START_FOLDER, 0, MAIN_X},
    {"folders", "drive root", SZ("E:\\"), PLAIN, START_FOLDER, 0, "E:\\QUARLO.EXE", "E:\\",
     "=E:=E:\\;", NULL},
    {"folders", "small drive letter", SZ("d:\\x"), PLAIN, START_FOLDER, 0, "D:\\X\\QUARLO.EXE",
     "d:\\x", "=D:=d:\\x;", NULL},
    {"folders", "relative", SZ("PROD\\X"), PLAIN, "E:\\", 0, MAIN_X},
    {"folders", "drive-relative", SZ("E:PROD\\X"), PLAIN, START_FOLDER, 0, MAIN_X},
    {"folders", "UNC", SZ("\\\\server\\share\\dir"), PLAIN, START_FOLDER, 0,
     "\\\\server\\share\\dir\\QUARLO.EXE", "\\\\server\\share\\dir", "", NULL},
    {"folders", "long folder", SZ(LONG_FOLDER), PLAIN, START_FOLDER, 0, LONG_FOLDER "\\QUARLO.EXE",
     LONG_FOLDER, "=E:=" LONG_FOLDER ";", NULL},
    {"folders", "drive missing", SZ("Q:\\PROD"), PLAIN, START_FOLDER, 1, NOTHING, "Q:\\PROD"},
};

static int failed;

static void Check(int ok, const char *what, const char *seen, const char *wanted, char *detail,
                  size_t capacity) {
    if (!ok && detail[0] == '\0') {
        snprintf(detail, capacity, "%s is [%s], not [%s]", what, seen ? seen : "(none)",
                 wanted ? wanted : "(none)");
    }
}

/* Wine names a program started from a UNC folder "UNC\server\..." where Windows says
 * "\\server\...". */
static const char *ProgramPath(const char *path) {
    static char fixed[MAX_PATH * 2];
    if (_strnicmp(path, "UNC\\", 4) == 0) {
        snprintf(fixed, sizeof fixed, "\\%s", path + 3);
        return fixed;
    }
    return path;
}

static void RunScenario(const Scenario *s, const char *screenshot) {
    static char before[16384], after[16384];
    char detail[1024] = "";
    char wantedText[1024];
    char exitText[2][16];
    BoxSeen box;
    StartRecord record;
    long exitCode;
    const char *wantedCommand;

    ForgetProduct();
    if (s->registry == KEY_ONLY) {
        RegisterKeyOnly();
    } else if (s->registry == VALUE) {
        RegisterValue(s->type, s->bytes, s->size);
    }
    DeleteFileA(RECORD_FILE);
    DumpRegistry(before, sizeof before);

    exitCode =
        RunLaunchExe(LAUNCHER, s->commandLine, s->startIn, &box, s->boxFolder ? screenshot : NULL);
    ReadRecord(&record, s->program ? 10000 : 800);
    DumpRegistry(after, sizeof after);

    snprintf(exitText[0], sizeof exitText[0], "%ld", exitCode);
    snprintf(exitText[1], sizeof exitText[1], "%ld", s->exitCode);
    Check(exitCode == s->exitCode, "the exit code", exitText[0], exitText[1], detail,
          sizeof detail);
    Check(strcmp(before, after) == 0, "the registry after the run", after, before, detail,
          sizeof detail);
    if (s->program) {
        wantedCommand = strstr(s->program, "SETUP1")   ? "SETUP1\\SETUP.EXE"
                        : strstr(s->program, "EDITOR") ? "EDITOR.EXE"
                                                       : "QUARLO.EXE";
        Check(record.found, "the program started", NULL, s->program, detail, sizeof detail);
        if (record.found) {
            Check(_stricmp(ProgramPath(record.program), s->program) == 0, "the program started",
                  record.program, s->program, detail, sizeof detail);
            Check(strcmp(record.directory, s->directory) == 0, "its directory", record.directory,
                  s->directory, detail, sizeof detail);
            Check(strcmp(record.entries, s->entries) == 0, "its =X: entries", record.entries,
                  s->entries, detail, sizeof detail);
            Check(strcmp(record.commandLine, wantedCommand) == 0, "its command line",
                  record.commandLine, wantedCommand, detail, sizeof detail);
            Check(strcmp(record.show, "10") == 0, "its show state", record.show, "10", detail,
                  sizeof detail);
        }
    } else {
        Check(!record.found, "the program started", record.program, NULL, detail, sizeof detail);
    }
    if (s->boxFolder) {
        snprintf(wantedText, sizeof wantedText,
                 "Could not change to directory %s!\n\nPlease run the installation program.",
                 s->boxFolder);
        Check(box.boxes == 1, "the number of boxes", box.boxes ? "several" : "0", "1", detail,
              sizeof detail);
        Check(strcmp(box.text, wantedText) == 0, "the box text", box.text, wantedText, detail,
              sizeof detail);
        Check(strcmp(box.caption, "Launch Error") == 0, "the caption", box.caption, "Launch Error",
              detail, sizeof detail);
        Check(box.stopIcon, "the icon", "not the stop icon", "the stop icon", detail,
              sizeof detail);
        Check(box.buttons == 1 && strcmp(box.button, "OK") == 0, "the buttons", box.button, "OK",
              detail, sizeof detail);
    } else {
        Check(box.boxes == 0, "the box", box.text, NULL, detail, sizeof detail);
    }

    if (detail[0]) {
        failed++;
        printf("FAIL %s/%s: %s\n", s->group, s->name, detail);
    } else {
        printf("ok   %s/%s\n", s->group, s->name);
    }
    fflush(stdout);
}

/* The folders and stand-ins every scenario may use; the launcher's own folders hold none. */
static int Prepare(void) {
    static const char *const programs[] = {
        "E:\\PROD\\X\\QUARLO.EXE",
        "E:\\PROD\\X\\EDITOR.EXE",
        "E:\\QUARLO.EXE",
        "D:\\X\\QUARLO.EXE",
        "\\\\server\\share\\dir\\QUARLO.EXE",
        LONG_FOLDER "\\QUARLO.EXE",
        SETUP,
    };
    size_t i;
    int ok = MakeFolders("E:\\PROD\\EMPTY") && MakeFolders(TEST_ROOT "\\my bin");
    ok = ok && CopyFileA(LAUNCHER, TEST_ROOT "\\my bin\\LAUNCH.EXE", FALSE);
    for (i = 0; i < sizeof programs / sizeof programs[0]; i++) {
        if (!PlaceStandin(programs[i])) {
            printf("cannot place a stand-in at %s (error %lu)\n", programs[i], GetLastError());
            ok = 0;
        }
    }
    /* Only the launcher writes "=X:" entries; the record file is named for the stand-ins. */
    for (i = 0; i < 26; i++) {
        char name[4] = {'=', (char)('A' + i), ':', 0};
        SetEnvironmentVariableA(name, NULL);
    }
    SetEnvironmentVariableA("LAUNCH_RECORD", RECORD_FILE);
    SetEnvironmentVariableA("PRODDIR", "PROD\\X");
    return ok;
}

int main(int argc, char **argv) {
    const char *group = argc > 1 ? argv[1] : "all";
    const char *screenshot = argc > 3 && strcmp(argv[2], "--screenshot") == 0 ? argv[3] : NULL;
    size_t i;
    int ran = 0;

    memset(Filler, 'P', 260);
    if (!Prepare()) {
        printf("0 passed, 1 failed\n");
        return 1;
    }
    for (i = 0; i < sizeof Scenarios / sizeof Scenarios[0]; i++) {
        if (strcmp(group, "all") == 0 || strcmp(group, Scenarios[i].group) == 0) {
            RunScenario(&Scenarios[i], screenshot);
            ran++;
            if (Scenarios[i].boxFolder) {
                screenshot = NULL; /* one picture: the group's first box */
            }
        }
    }
    ForgetProduct();
    if (ran == 0) {
        printf("no scenario in group %s\n", group);
        return 1;
    }
    printf("%d passed, %d failed\n", ran - failed, failed);
    return failed ? 1 : 0;
}
