// The launch decision: which program starts, from where, with what; or the error box.
#include "fixture.h"

namespace {

class LaunchDecision : public Machine {};

struct TailCase {
    const char *tail;
    const char *program;
};

TEST_F(LaunchDecision, TailSelectsEditorOnlyWhenItIsExactlyEditorInAnyCase) {
    const TailCase cases[] = {
        {"EDITOR", "EDITOR.EXE"},
        {"editor", "EDITOR.EXE"},
        {"EdItOr", "EDITOR.EXE"},
        {"", "QUARLO.EXE"},
        {"EDITOR ", "QUARLO.EXE"},
        {"EDITOR FILE", "QUARLO.EXE"},
        {"/EDITOR", "QUARLO.EXE"},
        {"-EDITOR", "QUARLO.EXE"},
        {"\"EDITOR\"", "QUARLO.EXE"},
        {"EDITORS", "QUARLO.EXE"},
        {"EDITO", "QUARLO.EXE"},
        {"EDIT\xCF"
         "R",
         "QUARLO.EXE"},
        {"QUARLO", "QUARLO.EXE"},
    };
    for (const TailCase &c : cases) {
        SetUp();
        Register("E:\\PROD\\X");
        sim::AddFile("E:\\PROD\\X\\QUARLO.EXE");
        sim::AddFile("E:\\PROD\\X\\EDITOR.EXE");

        EXPECT_EQ(RunLauncher(c.tail), 0) << "tail [" << c.tail << "]";
        ASSERT_EQ(sim::Starts().size(), 1u) << "tail [" << c.tail << "]";
        const sim::StartRequest &start = sim::Starts()[0];
        EXPECT_EQ(start.commandLine, c.program) << "tail [" << c.tail << "]";
        EXPECT_EQ(start.resolvedProgram, std::string("E:\\PROD\\X\\") + c.program);
        EXPECT_EQ(start.show, 10u);
        EXPECT_EQ(start.currentDirectory, "E:\\PROD\\X");
        EXPECT_EQ(DriveEntries(start.environment), "=E:=E:\\PROD\\X;");
        EXPECT_TRUE(sim::Boxes().empty());
        EXPECT_EQ(sim::OpenKeyCount(), 0);
    }
}

TEST_F(LaunchDecision, UnregisteredProductStartsSetupFromTheStartFolderWhateverTheTail) {
    const char *tails[] = {"", "EDITOR", "editor", "anything else"};
    for (bool keyExists : {false, true}) {
        for (const char *tail : tails) {
            SetUp();
            if (keyExists) {
                sim::SetStringValue(ProductKey, "OtherValue", "E:\\PROD\\X");
            }
            sim::AddFile("C:\\START\\SETUP1\\SETUP.EXE");
            sim::AddFile("E:\\PROD\\X\\EDITOR.EXE");
            std::string registry = sim::RegistryDump();

            EXPECT_EQ(RunLauncher(tail), 0) << "tail [" << tail << "] key " << keyExists;
            ASSERT_EQ(sim::Starts().size(), 1u);
            const sim::StartRequest &start = sim::Starts()[0];
            EXPECT_EQ(start.commandLine, "SETUP1\\SETUP.EXE");
            EXPECT_EQ(start.resolvedProgram, "C:\\START\\SETUP1\\SETUP.EXE");
            EXPECT_EQ(start.show, 10u);
            EXPECT_EQ(start.currentDirectory, "C:\\START");
            EXPECT_EQ(DriveEntries(start.environment), "");
            EXPECT_TRUE(sim::Boxes().empty());
            EXPECT_EQ(sim::OpenKeyCount(), 0);
            EXPECT_EQ(sim::RegistryDump(), registry);
        }
    }
}

struct BoxCase {
    const char *name;
    std::string folder;
};

TEST_F(LaunchDecision, FolderThatCannotBeEnteredShowsOneBoxAndStartsNothing) {
    const BoxCase cases[] = {
        {"missing folder", "E:\\PROD\\MISSING"},
        {"empty value", ""},
        {"longest value", "E:\\" + std::string(256, 'L')},
        {"percent sign", "E:\\100%s\\%d"},
    };
    for (const BoxCase &c : cases) {
        SetUp();
        Register(c.folder);
        sim::AddFolder("E:\\PROD\\X");
        sim::AddFile("E:\\PROD\\X\\QUARLO.EXE");

        EXPECT_EQ(RunLauncher("EDITOR"), 1) << c.name;
        EXPECT_TRUE(sim::Starts().empty()) << c.name;
        ASSERT_EQ(sim::Boxes().size(), 1u) << c.name;
        const sim::MessageBox &box = sim::Boxes()[0];
        EXPECT_EQ(box.text, ErrorText(c.folder)) << c.name;
        EXPECT_EQ(box.caption, "Launch Error");
        EXPECT_EQ(box.style, 0x10u);
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(sim::CurrentDirectory(), "C:\\START") << c.name;
        EXPECT_EQ(DriveEntries(sim::EnvironmentBlock()), "") << c.name;
    }
}

TEST_F(LaunchDecision, MissingMainProgramIsStillAStartWithExitCodeZero) {
    Register("E:\\PROD\\X");
    sim::AddFolder("E:\\PROD\\X");

    EXPECT_EQ(RunLauncher(""), 0);
    ASSERT_EQ(sim::Starts().size(), 1u);
    EXPECT_EQ(sim::Starts()[0].commandLine, "QUARLO.EXE");
    EXPECT_EQ(sim::Starts()[0].resolvedProgram, "");
    EXPECT_TRUE(sim::Boxes().empty());
}

TEST_F(LaunchDecision, SetupBesideTheLauncherWinsOverTheStartFolders) {
    // "SETUP1\SETUP.EXE" is no explicit path: Windows searches for it as for a bare name.
    sim::AddFile("C:\\START\\SETUP1\\SETUP.EXE");
    sim::AddFile("C:\\LAUNCHER\\SETUP1\\SETUP.EXE");

    EXPECT_EQ(RunLauncher(""), 0);
    ASSERT_EQ(sim::Starts().size(), 1u);
    EXPECT_EQ(sim::Starts()[0].commandLine, "SETUP1\\SETUP.EXE");
    EXPECT_EQ(sim::Starts()[0].resolvedProgram, "C:\\LAUNCHER\\SETUP1\\SETUP.EXE");
    EXPECT_EQ(sim::Starts()[0].currentDirectory, "C:\\START");
}

TEST_F(LaunchDecision, NoCurrentDirectoryInTheSearchMeansTheProgramIsNotFound) {
    // With NoDefaultCurrentDirectoryInExePath set, a bare name is not looked for in the install
    // folder: the start fails, silently, with exit code 0. Setup's name has a backslash, so the
    // current directory stays in its search.
    sim::SetVariable("NoDefaultCurrentDirectoryInExePath", "");
    Register("E:\\PROD\\X");
    sim::AddFile("E:\\PROD\\X\\QUARLO.EXE");

    EXPECT_EQ(RunLauncher(""), 0);
    ASSERT_EQ(sim::Starts().size(), 1u);
    EXPECT_EQ(sim::Starts()[0].commandLine, "QUARLO.EXE");
    EXPECT_EQ(sim::Starts()[0].resolvedProgram, "");
    EXPECT_EQ(sim::Starts()[0].currentDirectory, "E:\\PROD\\X");
    EXPECT_TRUE(sim::Boxes().empty());

    SetUp();
    sim::SetVariable("NoDefaultCurrentDirectoryInExePath", "1");
    sim::AddFile("C:\\START\\SETUP1\\SETUP.EXE");
    EXPECT_EQ(RunLauncher(""), 0);
    ASSERT_EQ(sim::Starts().size(), 1u);
    EXPECT_EQ(sim::Starts()[0].resolvedProgram, "C:\\START\\SETUP1\\SETUP.EXE");
}

TEST_F(LaunchDecision, StartFolderOfTwoByteCharactersPastTheBufferShowsTheBox) {
    // Code page 932, started in a folder of 200 two-byte characters (403 bytes), registered as
    // ".": Windows enters it, but the directory does not fit the 261-byte buffer.
    std::string start = TwoByteFolder("C:\\");
    sim::SetCodePage(932);
    sim::AddFolder(start);
    sim::AddFile(start + "\\QUARLO.EXE");
    sim::SetCurrentDirectoryText(start);
    Register(".");

    EXPECT_EQ(RunLauncher(""), 1);
    EXPECT_TRUE(sim::Starts().empty());
    ASSERT_EQ(sim::Boxes().size(), 1u);
    EXPECT_EQ(sim::Boxes()[0].text, ErrorText("."));
}

TEST_F(LaunchDecision, BareProgramNameIsPassedAsItStands) {
    // A QUARLO.EXE beside the launcher wins over the install folder's, as Windows searches.
    Register("E:\\PROD\\X");
    sim::AddFile("E:\\PROD\\X\\QUARLO.EXE");
    sim::AddFile("C:\\LAUNCHER\\QUARLO.EXE");

    EXPECT_EQ(RunLauncher(""), 0);
    ASSERT_EQ(sim::Starts().size(), 1u);
    EXPECT_EQ(sim::Starts()[0].commandLine, "QUARLO.EXE");
    EXPECT_EQ(sim::Starts()[0].resolvedProgram, "C:\\LAUNCHER\\QUARLO.EXE");
}

struct CompareCase {
    const char *a;
    const char *b;
    int sign;
};

TEST(CompareNoCase, FoldsOnlyAsciiCapitalsAndOrdersBytesUnsigned) {
    const CompareCase cases[] = {
        {"", "", 0},
        {"EDITOR", "EDITOR", 0},
        {"EDITOR", "editor", 0},
        {"eDiToR", "EdItOr", 0},
        {"AZ", "az", 0},
        {"a", "b", -1},
        {"B", "a", 1},
        {"EDITOR", "EDITORX", -1},
        {"EDITORX", "EDITOR", 1},
        {"EDITOR", "", 1},
        {"@", "`", -1}, // '@' + 0x20 is '`', but '@' is no letter
        {"[", "{", -1}, // likewise '[' and '{'
        {"z", "{", -1},
        {"\xC9", "\xE9", -1}, // accented letters do not fold
        {"\x80", "\x7F", 1},  // bytes compare unsigned
        {"\xFF", "a", 1},
    };
    for (const CompareCase &c : cases) {
        int result = CompareNoCase(c.a, c.b);
        int sign = (result > 0) - (result < 0);
        EXPECT_EQ(sign, c.sign) << "[" << c.a << "] vs [" << c.b << "]";
        int reverse = CompareNoCase(c.b, c.a);
        EXPECT_EQ((reverse > 0) - (reverse < 0), -c.sign) << "[" << c.b << "] vs [" << c.a << "]";
    }
}

} // namespace
