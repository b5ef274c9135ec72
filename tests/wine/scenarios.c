/*
 * End-to-end scenarios of the real LAUNCH.EXE under Wine.
 *
 *   scenarios.exe GROUP|GROUP/NAME|all [--screenshot FILE.BMP]
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

#define LAUNCHER_FOLDER TEST_ROOT "\\bin"
#define LAUNCHER LAUNCHER_FOLDER "\\LAUNCH.EXE"
#define START_FOLDER TEST_ROOT "\\start"
#define SETUP START_FOLDER "\\SETUP1\\SETUP.EXE"

/* A folder of 240 characters, entered and started from; and one of 259, the longest value. */
#define L40 "LLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLL"
#define LONG_FOLDER "E:\\" L40 L40 L40 L40 L40 "LLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLL"
#define LONGEST_FOLDER LONG_FOLDER "MMMMMMMMMMMMMMMMMMM"

/* Where the value is: in the launcher's own registry view (which the driver shares, being built
 * for the same architecture), only in the other view, in both with another folder in the other,
 * or written through the 64-bit view's explicit path SOFTWARE\Wow6432Node\... */
enum CodePages { ANY_CODE_PAGE, ONLY_932, NOT_932 };

enum Registry { NOT_REGISTERED, KEY_ONLY, VALUE, OTHER_VIEW, BOTH_VIEWS, WOW6432NODE };

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
    const char *boxFolder;      /* the folder named in the box, or NULL for no box */
    enum CodePages codePages;   /* where the outcome differs by the ANSI code page */
    const char *besideLauncher; /* a stand-in put beside LAUNCH.EXE for this run, or NULL */
    const char *variable;       /* an environment variable set for this run, or NULL */
} Scenario;

/* A string value with its terminator, and one stored without. */
#define SZ(text) VALUE, REG_SZ, text, sizeof(text)
#define TYPED(type, text) VALUE, type, text, sizeof(text)
#define BARE(type, text) VALUE, type, text, sizeof(text) - 1

#define STORED(where, text) where, REG_SZ, text, sizeof(text)

#define PLAIN "LAUNCH.EXE"
#define MAIN_X "E:\\PROD\\X\\QUARLO.EXE", "E:\\PROD\\X", "=E:=E:\\PROD\\X;", NULL
#define EDITOR_X "E:\\PROD\\X\\EDITOR.EXE", "E:\\PROD\\X", "=E:=E:\\PROD\\X;", NULL
#define SETUP_RUN SETUP, START_FOLDER, "", NULL
#define NOTHING NULL, NULL, NULL

/* 260 characters and a NUL, filled in by main. */
static char Filler[261];

/* "E:\PROD\" and the character U+8868 of code page 932, whose second byte is a backslash. */
#define DBCS_FOLDER "E:\\PROD\\\x95\x5C"

/* The start folder and four folders of 50 two-byte characters (U+3041, 0x82 0x9F), filled in by
 * main: 224 characters, 424 bytes. Four, since a Unix file name holds at most 255 bytes. */
static char WideStart[sizeof START_FOLDER + 4 * (1 + 100)];

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

    /* How Windows searches for the programs. "SETUP1\SETUP.EXE" is no explicit path: the folder
     * of LAUNCH.EXE comes before the current directory, as for a bare name. With
     * NoDefaultCurrentDirectoryInExePath set the current directory is not searched for a bare
     * name: the main program in the install folder is not found, silently, with exit code 0. */
    {"decision", "setup beside the launcher first", NOT_REGISTERED, 0, NULL, 0, PLAIN, START_FOLDER,
     0, LAUNCHER_FOLDER "\\SETUP1\\SETUP.EXE", START_FOLDER, "", NULL, ANY_CODE_PAGE,
     "SETUP1\\SETUP.EXE"},
    {"decision", "no current directory in the search", SZ("E:\\PROD\\X"), PLAIN, START_FOLDER, 0,
     NOTHING, NULL, ANY_CODE_PAGE, NULL, "NoDefaultCurrentDirectoryInExePath=1"},

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
    /* Bytes above 0x7F, run under the default code page and again under 932. The launcher sees
     * its command line as Windows NT hands it over: converted to Unicode by CreateProcessA and
     * back by GetCommandLineA, in the ANSI code page. */
    {"tail", "quoted name with a trail byte 0x5C", SZ("E:\\PROD\\X"),
     "\"C:\\launch-test\\\x95\x5C\\LAUNCH.EXE\" EDITOR", START_FOLDER, 0, EDITOR_X},
    {"tail", "unquoted name with a trail byte 0x5C", SZ("E:\\PROD\\X"), "L\x95\x5C.EXE EDITOR",
     START_FOLDER, 0, EDITOR_X},
    {"tail", "lead byte before the closing quote", SZ("E:\\PROD\\X"), "\"LAUNCH\x81\"EDITOR",
     START_FOLDER, 0, EDITOR_X, NOT_932},
    /* Under code page 932, 0x81 and the quote after it are no valid character: the conversion to
     * Unicode makes the pair one default character (0x81 0x45 when converted back), so the quote
     * never reaches the launcher, the name runs to the end and the tail is empty. */
    {"tail", "lead byte before the closing quote", SZ("E:\\PROD\\X"), "\"LAUNCH\x81\"EDITOR",
     START_FOLDER, 0, MAIN_X, ONLY_932},
    {"tail", "lead byte at the end", SZ("E:\\PROD\\X"), "\"LAUNCH EDITOR\x81", START_FOLDER, 0,
     MAIN_X},
    {"tail", "double-byte switch", SZ("E:\\PROD\\X"),
     PLAIN " \x82\x64"
           "DITOR",
     START_FOLDER, 0, MAIN_X},

    /* Code page 932 only: an install folder whose name ends in a trail byte 0x5C, and a start
     * folder of 200 two-byte characters: under MAX_PATH in characters, but over 400 bytes, so
     * that its directory does not fit the 261-byte buffer after Windows has entered it. */
    {"codepage", "install folder with a trail byte 0x5C", SZ(DBCS_FOLDER), PLAIN, START_FOLDER, 0,
     DBCS_FOLDER "\\QUARLO.EXE", DBCS_FOLDER, "=E:=" DBCS_FOLDER ";", NULL, ONLY_932},
    {"codepage", "start folder of 200 two-byte characters", SZ("."), PLAIN, WideStart, 1, NOTHING,
     ".", ONLY_932},

    /* Registry values: absent, other types, boundary lengths, no terminator. */
    {"registry", "key without the value", KEY_ONLY, 0, NULL, 0, PLAIN, START_FOLDER, 0, SETUP_RUN},
    {"registry", "only in the other view", STORED(OTHER_VIEW, "E:\\PROD\\X"), PLAIN, START_FOLDER,
     0, SETUP_RUN},
    {"registry", "both views: its own is read", STORED(BOTH_VIEWS, "E:\\PROD\\X"), PLAIN,
     START_FOLDER, 0, MAIN_X},
#ifdef _WIN64
    /* The x86_64 twin reads the 64-bit view, where Wow6432Node is the 32-bit programs' view. */
    {"registry", "written under Wow6432Node", STORED(WOW6432NODE, "E:\\PROD\\X"), PLAIN,
     START_FOLDER, 0, SETUP_RUN},
#else
    /* The product, a 32-bit program, reads HKLM\SOFTWARE through Wow6432Node on 64-bit Windows:
     * where an installer must write AppPath. */
    {"registry", "written under Wow6432Node", STORED(WOW6432NODE, "E:\\PROD\\X"), PLAIN,
     START_FOLDER, 0, MAIN_X},
#endif
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

/* The registry view that is not the launcher's own. */
#ifdef _WIN64
static const REGSAM OtherView = KEY_WOW64_32KEY;
#else
static const REGSAM OtherView = KEY_WOW64_64KEY;
#endif

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
    char beside[MAX_PATH], variable[256];

    ForgetProduct();
    if (s->registry == KEY_ONLY) {
        RegisterKeyOnly();
    } else if (s->registry == VALUE || s->registry == BOTH_VIEWS) {
        RegisterValue(s->type, s->bytes, s->size);
    }
    if (s->registry == OTHER_VIEW || s->registry == BOTH_VIEWS) {
        static const char other[] = "E:\\PROD\\MISSING";
        RegisterValueAt(OtherView, PRODUCT_KEY, s->type,
                        s->registry == BOTH_VIEWS ? other : s->bytes,
                        s->registry == BOTH_VIEWS ? sizeof other : s->size);
    } else if (s->registry == WOW6432NODE) {
        RegisterValueAt(KEY_WOW64_64KEY, "SOFTWARE\\Wow6432Node\\Talvox\\Ombrik\\Quarlo\\1.000",
                        s->type, s->bytes, s->size);
    }
    if (s->besideLauncher) {
        snprintf(beside, sizeof beside, "%s\\%s", LAUNCHER_FOLDER, s->besideLauncher);
        PlaceStandin(beside);
    }
    if (s->variable) {
        snprintf(variable, sizeof variable, "%s", s->variable);
        *strchr(variable, '=') = '\0';
        SetEnvironmentVariableA(variable, variable + strlen(variable) + 1);
    }
    DeleteFileA(RECORD_FILE);
    DumpRegistry(before, sizeof before);

    exitCode =
        RunLaunchExe(LAUNCHER, s->commandLine, s->startIn, &box, s->boxFolder ? screenshot : NULL);
    ReadRecord(&record, s->program ? 10000 : 800);
    DumpRegistry(after, sizeof after);
    if (s->besideLauncher) {
        DeleteFileA(beside);
    }
    if (s->variable) {
        SetEnvironmentVariableA(variable, NULL);
    }

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
    static char wideProgram[sizeof WideStart + 16];
    static const char *const programs[] = {
        "E:\\PROD\\X\\QUARLO.EXE",
        "E:\\PROD\\X\\EDITOR.EXE",
        "E:\\QUARLO.EXE",
        "D:\\X\\QUARLO.EXE",
        "\\\\server\\share\\dir\\QUARLO.EXE",
        LONG_FOLDER "\\QUARLO.EXE",
        SETUP,
        DBCS_FOLDER "\\QUARLO.EXE",
    };
    size_t i;
    int ok = MakeFolders("E:\\PROD\\EMPTY") && MakeFolders(TEST_ROOT "\\my bin");
    ok = ok && CopyFileA(LAUNCHER, TEST_ROOT "\\my bin\\LAUNCH.EXE", FALSE);
    /* The wide start folder, with a main program in it that must not start, where it fits. */
    if (GetACP() == 932 &&
        !PlaceStandin((strcat(strcpy(wideProgram, WideStart), "\\QUARLO.EXE")))) {
        printf("cannot place a stand-in in the wide start folder (error %lu)\n", GetLastError());
        ok = 0;
    }
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

/* Whether a name "GROUP/NAME" names this scenario. */
static int IsScenario(const char *name, const Scenario *s) {
    size_t length = strlen(s->group);
    return strncmp(name, s->group, length) == 0 && name[length] == '/' &&
           strcmp(name + length + 1, s->name) == 0;
}

int main(int argc, char **argv) {
    const char *group = argc > 1 ? argv[1] : "all";
    const char *screenshot = argc > 3 && strcmp(argv[2], "--screenshot") == 0 ? argv[3] : NULL;
    size_t i;
    int ran = 0;

    memset(Filler, 'P', 260);
    strcpy(WideStart, START_FOLDER);
    for (i = 0; i < 4; i++) {
        size_t at = strlen(WideStart), j;
        WideStart[at++] = '\\';
        for (j = 0; j < 50; j++) {
            WideStart[at++] = '\x82';
            WideStart[at++] = '\x9F';
        }
        WideStart[at] = '\0';
    }
    if (!Prepare()) {
        printf("0 passed, 1 failed\n");
        return 1;
    }
    for (i = 0; i < sizeof Scenarios / sizeof Scenarios[0]; i++) {
        enum CodePages here = GetACP() == 932 ? ONLY_932 : NOT_932;
        if (Scenarios[i].codePages != ANY_CODE_PAGE && Scenarios[i].codePages != here) {
            continue;
        }
        if (strcmp(group, "all") == 0 || strcmp(group, Scenarios[i].group) == 0 ||
            IsScenario(group, &Scenarios[i])) {
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
