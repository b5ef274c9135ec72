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

TEST_F(SimulatedWindows, WinExecSearchesLikeWindowsAndRecordsTheRequest) {
    sim::AddFile("C:\\WINDOWS\\NOTEPAD.EXE");
    sim::AddFile("C:\\START\\SUB\\TOOL.EXE");
    EXPECT_EQ(WinExec("NOTEPAD", 10), 33u);
    EXPECT_EQ(WinExec("SUB\\TOOL.EXE", 5), 33u);
    EXPECT_EQ(WinExec("TOOL.EXE", 10), 2u);
    ASSERT_EQ(sim::Starts().size(), 3u);
    EXPECT_EQ(sim::Starts()[0].resolvedProgram, "C:\\WINDOWS\\NOTEPAD.EXE");
    EXPECT_EQ(sim::Starts()[1].resolvedProgram, "C:\\START\\SUB\\TOOL.EXE");
    EXPECT_EQ(sim::Starts()[1].show, 5u);
    EXPECT_EQ(sim::Starts()[2].resolvedProgram, "");
}

} // namespace
