// The directory change: drives, small drive letters, relative folders, UNC names, failures.
#include "fixture.h"

namespace {

class DirectoryChange : public Machine {};

struct EnterCase {
    const char *name;
    std::string path;
    std::string startIn;
    std::string directory; // the current directory afterwards
    std::string entries;   // every "=X:" entry afterwards
};

TEST_F(DirectoryChange, EnteredFolderBecomesCurrentAndItsDriveEntry) {
    const std::string deep = "E:\\" + std::string(255, 'D'); // 258 characters, the most
    const EnterCase cases[] = {
        {"drive folder", "E:\\PROD\\X", "C:\\START", "E:\\PROD\\X", "=E:=E:\\PROD\\X;"},
        {"small drive letter", "d:\\x", "C:\\START", "d:\\x", "=D:=d:\\x;"},
        {"trailing backslash", "E:\\PROD\\X\\", "C:\\START", "E:\\PROD\\X", "=E:=E:\\PROD\\X;"},
        {"forward slashes", "E:/PROD/X", "C:\\START", "E:\\PROD\\X", "=E:=E:\\PROD\\X;"},
        {"drive root", "E:\\", "C:\\START", "E:\\", "=E:=E:\\;"},
        {"relative", "PROD\\X", "E:\\", "E:\\PROD\\X", "=E:=E:\\PROD\\X;"},
        {"relative upwards", "..\\Y", "C:\\START", "C:\\Y", "=C:=C:\\Y;"},
        {"root-relative", "\\PROD\\X", "E:\\PROD", "E:\\PROD\\X", "=E:=E:\\PROD\\X;"},
        {"drive-relative", "E:X", "C:\\START", "E:\\X", "=E:=E:\\X;"},
        {"longest folder", deep, "C:\\START", deep, "=E:=" + deep + ";"},
        {"UNC", "\\\\SERVER\\SHARE\\DIR", "C:\\START", "\\\\SERVER\\SHARE\\DIR", ""},
        {"UNC share root", "\\\\SERVER\\SHARE", "C:\\START", "\\\\SERVER\\SHARE", ""},
        {"UNC with slashes", "//SERVER/SHARE/DIR", "C:\\START", "\\\\SERVER\\SHARE\\DIR", ""},
    };
    for (const EnterCase &c : cases) {
        SetUp();
        for (const char *folder :
             {"E:\\PROD\\X", "E:\\X", "d:\\x", "C:\\Y", "\\\\SERVER\\SHARE\\DIR"}) {
            sim::AddFolder(folder);
        }
        sim::AddFolder(deep);
        sim::SetCurrentDirectoryText(c.startIn);

        EXPECT_EQ(ChangeDirectory(c.path.c_str()), 0) << c.name;
        EXPECT_EQ(sim::CurrentDirectory(), c.directory) << c.name;
        EXPECT_EQ(DriveEntries(sim::EnvironmentBlock()), c.entries) << c.name;
    }
}

TEST_F(DirectoryChange, DriveRelativeFolderUsesThatDrivesEntry) {
    sim::AddFolder("E:\\PROD\\X");
    sim::SetVariable("=E:", "E:\\PROD");
    EXPECT_EQ(ChangeDirectory("e:X"), 0);
    EXPECT_EQ(sim::CurrentDirectory(), "E:\\PROD\\X");
    EXPECT_EQ(sim::GetVariable("=E:"), "E:\\PROD\\X");
}

TEST_F(DirectoryChange, FolderThatCannotBeEnteredChangesNothing) {
    const char *paths[] = {"E:\\PROD\\MISSING", "", "Q:\\", "\\\\SERVER", "PROD\\X",
                           // one past the longest folder that can be entered
                           nullptr};
    std::string tooLong = "E:\\" + std::string(256, 'D');
    sim::AddFolder(tooLong); // exists, but is 259 characters
    sim::AddFolder("E:\\PROD\\X");
    sim::SetVariable("=C:", "C:\\START");
    sim::Environment before = sim::EnvironmentBlock();
    for (const char *path : paths) {
        const char *given = path ? path : tooLong.c_str();
        EXPECT_EQ(ChangeDirectory(given), -1) << "[" << given << "]";
        EXPECT_EQ(sim::CurrentDirectory(), "C:\\START") << "[" << given << "]";
        EXPECT_EQ(sim::EnvironmentBlock(), before) << "[" << given << "]";
    }
}

TEST_F(DirectoryChange, FailureAfterTheChangeIsReportedAndTheChangeStays) {
    for (const char *operation : {"GetCurrentDirectoryA", "SetEnvironmentVariableA"}) {
        SetUp();
        sim::AddFolder("E:\\PROD\\X");
        sim::FailCall(operation);
        EXPECT_EQ(ChangeDirectory("E:\\PROD\\X"), -1) << operation;
        EXPECT_EQ(sim::CurrentDirectory(), "E:\\PROD\\X") << operation;
        EXPECT_EQ(DriveEntries(sim::EnvironmentBlock()), "") << operation;
    }
}

// 203 characters, which Windows' MAX_PATH limit admits, but 403 bytes.
const std::string WideFolder = TwoByteFolder("E:\\");

TEST_F(DirectoryChange, DirectoryLongerThanItsBufferIsAFailureNotGarbage) {
    // Windows counts the limit in characters: under a double-byte code page an ordinary folder
    // can outgrow the 261-byte buffer. The change is made; the directory is not trusted.
    sim::SetCodePage(932);
    sim::AddFolder(WideFolder);
    EXPECT_EQ(ChangeDirectory(WideFolder.c_str()), -1);
    EXPECT_EQ(sim::CurrentDirectory(), WideFolder);
    EXPECT_EQ(DriveEntries(sim::EnvironmentBlock()), "");

    // Under a single-byte code page the same bytes are 403 characters: refused outright.
    SetUp();
    sim::AddFolder(WideFolder);
    EXPECT_EQ(ChangeDirectory(WideFolder.c_str()), -1);
    EXPECT_EQ(sim::CurrentDirectory(), "C:\\START");

    // Bytes alone reach past 260 only with Windows' long-path setting.
    SetUp();
    sim::SetLongPathsEnabled(true);
    const std::string fits = "E:\\" + std::string(257, 'D'); // 260 characters
    const std::string over = "E:\\" + std::string(258, 'D'); // 261 characters
    sim::AddFolder(fits);
    sim::AddFolder(over);

    EXPECT_EQ(ChangeDirectory(fits.c_str()), 0);
    EXPECT_EQ(sim::GetVariable("=E:"), fits);

    SetUp();
    sim::SetLongPathsEnabled(true);
    sim::AddFolder(over);
    EXPECT_EQ(ChangeDirectory(over.c_str()), -1);
    EXPECT_EQ(sim::CurrentDirectory(), over);
    EXPECT_EQ(DriveEntries(sim::EnvironmentBlock()), "");
}

} // namespace
