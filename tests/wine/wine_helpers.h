/*
 * Helpers for running the real LAUNCH.EXE under Wine: exact registry bytes, an exact command line,
 * the "Launch Error" box read and closed, and the record a stand-in program leaves.
 * Test machinery only: built with mingw-w64 and its C runtime, never part of the product.
 */
#ifndef LAUNCH_WINE_HELPERS_H
#define LAUNCH_WINE_HELPERS_H

#include <windows.h>

#define PRODUCT_KEY "SOFTWARE\\Talvox\\Ombrik\\Quarlo\\1.000"
#define COMPANY_KEY "SOFTWARE\\Talvox"

/* Where the harness keeps its files on drive C:. */
#define TEST_ROOT "C:\\launch-test"
#define RECORD_FILE TEST_ROOT "\\record.txt"
#define STANDIN_FILE TEST_ROOT "\\standin.exe"

/* Removes the company's whole key from both registry views, so that the product is not
 * registered. */
void ForgetProduct(void);
/* Creates the product's key, with no values, in this program's own registry view. */
int RegisterKeyOnly(void);
/* Stores exactly these bytes, of this type, as the product's "AppPath" value, in this program's
 * own registry view. */
int RegisterValue(DWORD type, const void *bytes, DWORD size);
/* The same below keyPath of HKEY_LOCAL_MACHINE in a chosen view: KEY_WOW64_32KEY,
 * KEY_WOW64_64KEY, or 0 for this program's own. */
int RegisterValueAt(REGSAM view, const char *keyPath, DWORD type, const void *bytes, DWORD size);
/* Every key and value below the company's key, in both views, as text. */
void DumpRegistry(char *out, size_t capacity);

/* Makes a folder and its parents. */
int MakeFolders(const char *path);
/* Copies the stand-in program to path, making its folder. */
int PlaceStandin(const char *path);

typedef struct {
    int boxes;         /* how many message boxes the launcher showed */
    char text[1024];   /* the first box's text */
    char caption[256]; /* its caption */
    int buttons;       /* its buttons */
    char button[64];   /* the first button's text */
    int stopIcon;      /* 1 when it shows the system's stop icon */
} BoxSeen;

/*
 * Starts the launcher with exactly this command line in folder startIn, closes with OK every
 * box it shows, and waits for it to end. Gives its exit code, or -1 when it could not be started
 * or did not end within 20 seconds. A BMP screenshot of the first box goes to screenshot, if set.
 */
long RunLaunchExe(const char *launcher, const char *commandLine, const char *startIn, BoxSeen *box,
                  const char *screenshot);

typedef struct {
    int found;
    char program[MAX_PATH * 2];
    char directory[MAX_PATH * 2];
    char commandLine[1024];
    char show[32];
    char entries[1024]; /* every "=X:" entry, "=E:=E:\\PROD\\X;" */
} StartRecord;

/* Reads what the started stand-in recorded, waiting up to waitMs for it to finish writing. */
void ReadRecord(StartRecord *record, DWORD waitMs);

#endif
