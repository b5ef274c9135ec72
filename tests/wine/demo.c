/*
 * The demo run of LAUNCH.EXE under Wine, told in plain words.
 *
 *   demo.exe registered|not-registered|missing-folder --screenshot FILE.BMP [ARGUMENTS...]
 *
 * Registers a demo product in E:\PROD\DEMO (or leaves it unregistered, or registers a folder that
 * does not exist), starts the launcher with the arguments, presses OK on any box it shows and
 * tells what happened: which program started, in which folder, with which drive entry, and the
 * launcher's exit code.
 */
#include "wine_helpers.h"

#include <stdio.h>
#include <string.h>

#define DEMO_FOLDER "E:\\PROD\\DEMO"
#define GONE_FOLDER "E:\\PROD\\GONE"

int main(int argc, char **argv) {
    const char *mode = argc > 1 ? argv[1] : "registered";
    const char *screenshot = argc > 3 ? argv[3] : NULL;
    char commandLine[1024] = "LAUNCH.EXE";
    BoxSeen box;
    StartRecord record;
    long exitCode;
    int i;

    if (!PlaceStandin(DEMO_FOLDER "\\QUARLO.EXE") || !PlaceStandin(DEMO_FOLDER "\\EDITOR.EXE") ||
        !PlaceStandin(TEST_ROOT "\\start\\SETUP1\\SETUP.EXE")) {
        printf("demo: cannot set up the demo product's folders (error %lu)\n", GetLastError());
        return 2;
    }
    SetEnvironmentVariableA("LAUNCH_RECORD", RECORD_FILE);
    DeleteFileA(RECORD_FILE);
    ForgetProduct();
    if (strcmp(mode, "registered") == 0) {
        RegisterValue(REG_SZ, DEMO_FOLDER, sizeof DEMO_FOLDER);
        printf("The demo product is registered: HKLM\\%s, AppPath = \"%s\".\n", PRODUCT_KEY,
               DEMO_FOLDER);
    } else if (strcmp(mode, "missing-folder") == 0) {
        RegisterValue(REG_SZ, GONE_FOLDER, sizeof GONE_FOLDER);
        printf("The demo product is registered with a folder that does not exist: AppPath = "
               "\"%s\".\n",
               GONE_FOLDER);
    } else if (strcmp(mode, "not-registered") == 0) {
        printf("The demo product is not registered: HKLM\\%s does not exist.\n", PRODUCT_KEY);
    } else {
        printf("demo: unknown mode %s\n", mode);
        return 2;
    }
    for (i = 4; i < argc; i++) {
        strncat(commandLine, " ", sizeof commandLine - strlen(commandLine) - 1);
        strncat(commandLine, argv[i], sizeof commandLine - strlen(commandLine) - 1);
    }
    printf("Running %s\\bin\\LAUNCH.EXE in %s\\start with the command line [%s].\n", TEST_ROOT,
           TEST_ROOT, commandLine);

    exitCode = RunLaunchExe(TEST_ROOT "\\bin\\LAUNCH.EXE", commandLine, TEST_ROOT "\\start", &box,
                            screenshot);
    if (exitCode < 0) {
        printf("LAUNCH.EXE could not be run, or did not end.\n");
        return 1;
    }
    ReadRecord(&record, box.boxes ? 800 : 5000);
    if (record.found) {
        size_t entries = strlen(record.entries);
        if (entries && record.entries[entries - 1] == ';') {
            record.entries[entries - 1] = '\0'; /* one entry, as it stands */
        }
        printf("It started %s\n", record.program);
        printf("  in the folder     %s\n", record.directory);
        printf("  with drive entry  %s\n", record.entries[0] ? record.entries : "(none)");
        printf("  as command line   %s, show state %s (10 is SW_SHOWDEFAULT)\n", record.commandLine,
               record.show);
    } else {
        printf("It started no program.\n");
    }
    if (box.boxes) {
        printf("It showed the box \"%s\" with a %s icon and the button %s:\n", box.caption,
               box.stopIcon ? "stop" : "non-stop", box.button);
        printf("  ");
        for (i = 0; box.text[i]; i++) {
            fputs(box.text[i] == '\n' ? "\n  " : (char[]){box.text[i], 0}, stdout);
        }
        printf("\n");
        printf("The demo pressed OK.\n");
    }
    printf("LAUNCH.EXE ended with exit code %ld.\n", exitCode);
    ForgetProduct();
    return 0;
}
