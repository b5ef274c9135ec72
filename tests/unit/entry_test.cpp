// The process entry: one run of the launcher from its own command line to its exit code.
#include "fixture.h"

namespace {

class ProcessEntry : public Machine {};

struct EntryCase {
    const char *name;
    std::string commandLine;
    UINT codePage;
    const char *folder; // registered folder, or none
    int exitCode;
    const char *journal; // what the process did, as the simulation tells it
};

TEST_F(ProcessEntry, EndsTheProcessWithTheLaunchDecisionsExitCode) {
    const EntryCase cases[] = {
        {"main program", "LAUNCH.EXE", 1252, "E:\\PROD\\X", 0, "^start QUARLO.EXE\nexit 0\n$"},
        {"editor", "LAUNCH.EXE editor", 1252, "E:\\PROD\\X", 0, "^start EDITOR.EXE\nexit 0\n$"},
        {"quoted editor", "\"C:\\My Apps\\LAUNCH.EXE\"EDITOR", 1252, "E:\\PROD\\X", 0,
         "^start EDITOR.EXE\nexit 0\n$"},
        {"trailing blank", "LAUNCH.EXE EDITOR ", 1252, "E:\\PROD\\X", 0,
         "^start QUARLO.EXE\nexit 0\n$"},
        {"lead byte before quote", "\"C:\\\x81\"\\LAUNCH.EXE\" EDITOR", 932, "E:\\PROD\\X", 0,
         "^start EDITOR.EXE\nexit 0\n$"},
        {"same, single-byte", "\"C:\\\x81\"\\LAUNCH.EXE\" EDITOR", 1252, "E:\\PROD\\X", 0,
         "^start QUARLO.EXE\nexit 0\n$"},
        {"not registered", "LAUNCH.EXE EDITOR", 1252, nullptr, 0,
         "^start SETUP1.SETUP.EXE\nexit 0\n$"},
        {"missing folder", "LAUNCH.EXE", 1252, "E:\\MISSING", 1, "^box Launch Error\nexit 1\n$"},
    };
    for (const EntryCase &c : cases) {
        SetUp();
        sim::AddFile("E:\\PROD\\X\\QUARLO.EXE");
        if (c.folder) {
            Register(c.folder);
        }
        sim::SetCommandLine(c.commandLine);
        sim::SetCodePage(c.codePage);
        EXPECT_EXIT(LauncherEntry(), ::testing::ExitedWithCode(c.exitCode), c.journal) << c.name;
    }
}

} // namespace
