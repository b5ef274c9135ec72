// The simulated machine keeps the Windows behaviour the launcher's tests stand on.
#include "fixture.h"

namespace {

class SimulatedWindows : public Machine {};

TEST_F(SimulatedWindows, CurrentDirectoryTooLargeForTheBufferReportsTheNeedAndWritesNothing) {
    char buffer[16];
    std::memset(buffer, 0xBD, sizeof buffer);
    sim::SetCurrentDirectoryText("E:\\PROD\\X"); // 9 characters
    EXPECT_EQ(GetCurrentDirectoryA(9, buffer), 10u);
    EXPECT_EQ(static_cast<unsigned char>(buffer[0]), 0xBDu);
    EXPECT_EQ(GetCurrentDirectoryA(10, buffer), 9u);
    EXPECT_STREQ(buffer, "E:\\PROD\\X");
}

TEST_F(SimulatedWindows, RegistryQueryReportsMoreDataAndAddsNoTerminator) {
    sim::SetValue("K", "V", REG_SZ, {'A', 'B', 'C'});
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "K", 0, KEY_READ, &key), ERROR_SUCCESS);
    BYTE data[4];
    std::memset(data, 0xBD, sizeof data);
    DWORD type = 0;
    DWORD size = 2;
    EXPECT_EQ(RegQueryValueExA(key, "V", nullptr, &type, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(data[0], 0xBDu);
    size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(key, "V", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(data[2], 'C');
    EXPECT_EQ(data[3], 0xBDu);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
}

TEST_F(SimulatedWindows, QueryNeedsQueryAccess) {
    sim::SetStringValue("K", "V", "x");
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "K", 0, 0x20006 /* KEY_WRITE */, &key),
              ERROR_SUCCESS);
    DWORD size = 4;
    BYTE data[4];
    EXPECT_EQ(RegQueryValueExA(key, "V", nullptr, nullptr, data, &size), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST_F(SimulatedWindows, FaultFailsTheChosenCallOnceOrFromThenOn) {
    sim::AddFolder("E:\\A");
    sim::FailCall("SetCurrentDirectoryA", 2);
    EXPECT_EQ(SetCurrentDirectoryA("E:\\A"), 1);
    EXPECT_EQ(SetCurrentDirectoryA("E:\\A"), 0);
    EXPECT_EQ(SetCurrentDirectoryA("E:\\A"), 1);

    sim::FailCall("SetCurrentDirectoryA", 4, true);
    EXPECT_EQ(SetCurrentDirectoryA("E:\\A"), 0);
    EXPECT_EQ(SetCurrentDirectoryA("E:\\A"), 0);
    EXPECT_EQ(std::count(sim::Calls().begin(), sim::Calls().end(), "SetCurrentDirectoryA"), 5);
}

TEST_F(SimulatedWindows, OperationsThatCannotFailCannotBeMadeTo) {
    EXPECT_DEATH(sim::FailCall("ExitProcess"), "cannot make ExitProcess fail");
    EXPECT_DEATH(sim::FailCall("GetCommandLineA"), "cannot make GetCommandLineA fail");
}

struct SearchCase {
    const char *name;
    const char *command;
    std::vector<const char *> files;
    bool noCurrentDirectory; // NoDefaultCurrentDirectoryInExePath set
    const char *found;       // the program started, "" for none
};

TEST_F(SimulatedWindows, WinExecSearchesLikeWindowsAndRecordsTheRequest) {
    const SearchCase cases[] = {
        {"system folder, .EXE added",
         "NOTEPAD",
         {"C:\\WINDOWS\\NOTEPAD.EXE"},
         false,
         "C:\\WINDOWS\\NOTEPAD.EXE"},
        {"launcher's folder first",
         "TOOL.EXE",
         {"C:\\LAUNCHER\\TOOL.EXE", "C:\\START\\TOOL.EXE"},
         false,
         "C:\\LAUNCHER\\TOOL.EXE"},
        {"then the current directory",
         "TOOL.EXE",
         {"C:\\START\\TOOL.EXE"},
         false,
         "C:\\START\\TOOL.EXE"},
        {"current directory left out", "TOOL.EXE", {"C:\\START\\TOOL.EXE"}, true, ""},
        {"folder in the name: searched too",
         "SUB\\TOOL.EXE",
         {"C:\\LAUNCHER\\SUB\\TOOL.EXE", "C:\\START\\SUB\\TOOL.EXE"},
         false,
         "C:\\LAUNCHER\\SUB\\TOOL.EXE"},
        {"folder in the name: current directory stays",
         "SUB\\TOOL.EXE",
         {"C:\\START\\SUB\\TOOL.EXE"},
         true,
         "C:\\START\\SUB\\TOOL.EXE"},
        {"explicitly relative: current directory only",
         ".\\TOOL.EXE",
         {"C:\\LAUNCHER\\TOOL.EXE"},
         false,
         ""},
        {"rooted", "\\START\\TOOL.EXE", {"C:\\START\\TOOL.EXE"}, false, "C:\\START\\TOOL.EXE"},
        {"not anywhere", "TOOL.EXE", {"E:\\TOOL.EXE"}, false, ""},
    };
    for (const SearchCase &c : cases) {
        SetUp();
        for (const char *file : c.files) {
            sim::AddFile(file);
        }
        if (c.noCurrentDirectory) {
            sim::SetVariable("NoDefaultCurrentDirectoryInExePath", "");
        }
        UINT result = WinExec(c.command, 5);
        EXPECT_EQ(result, *c.found ? 33u : 2u) << c.name;
        ASSERT_EQ(sim::Starts().size(), 1u) << c.name;
        EXPECT_EQ(sim::Starts()[0].resolvedProgram, c.found) << c.name;
        EXPECT_EQ(sim::Starts()[0].commandLine, c.command) << c.name;
        EXPECT_EQ(sim::Starts()[0].show, 5u) << c.name;
    }
}

TEST_F(SimulatedWindows, CurrentDirectoryLimitCountsCharactersOfTheCodePage) {
    const std::string wide = TwoByteFolder("E:\\");
    const std::string longest = "E:\\" + std::string(255, 'D'); // 258 characters
    sim::AddFolder(wide);
    sim::AddFolder(longest);
    sim::AddFolder(longest + "D");
    EXPECT_EQ(sim::FolderToEnter(wide), std::nullopt); // 403 characters of code page 1252
    EXPECT_EQ(sim::FolderToEnter(longest), longest);
    EXPECT_EQ(sim::FolderToEnter(longest + "D"), std::nullopt);
    sim::SetCodePage(932);
    EXPECT_EQ(sim::FolderToEnter(wide), wide); // 203 characters
    ASSERT_EQ(SetCurrentDirectoryA(wide.c_str()), 1);
    char buffer[261];
    std::memset(buffer, 0xBD, sizeof buffer);
    EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), wide.size() + 1);
    EXPECT_EQ(static_cast<unsigned char>(buffer[0]), 0xBDu);
}

} // namespace
