// The install-folder lookup: value types, sizes at the 260-byte edge, absent key or value.
#include "fixture.h"

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::string &text, bool terminated = true) {
    Bytes bytes(text.begin(), text.end());
    if (terminated) {
        bytes.push_back(0);
    }
    return bytes;
}

class InstallLookup : public Machine {
  protected:
    void SetUp() override {
        Machine::SetUp();
        // A sentinel shows whether the lookup wrote InstallPath, and how far.
        std::memset(InstallPath, 0xBD, sizeof InstallPath);
    }

    static bool InstallPathUntouched() {
        for (unsigned char byte : InstallPath) {
            if (byte != 0xBD) {
                return false;
            }
        }
        return true;
    }
};

struct ValueCase {
    const char *name;
    DWORD type;
    Bytes bytes;
    int result;
    std::string installPath; // when the result is 0
};

TEST_F(InstallLookup, ValueBytesBecomeTheFolderUpToTheirFirstNul) {
    const std::string longest(259, 'P');
    const ValueCase cases[] = {
        {"plain folder", REG_SZ, Text("E:\\PROD\\X"), 0, "E:\\PROD\\X"},
        {"trailing backslash kept", REG_SZ, Text("E:\\PROD\\X\\"), 0, "E:\\PROD\\X\\"},
        {"expandable, not expanded", REG_EXPAND_SZ, Text("%ProgramFiles%\\Q"), 0,
         "%ProgramFiles%\\Q"},
        {"259 characters and NUL", REG_SZ, Text(longest), 0, longest},
        {"260 characters and NUL", REG_SZ, Text(std::string(260, 'P')), 1, ""},
        {"much too large", REG_SZ, Text(std::string(1000, 'P')), 1, ""},
        {"number 1", REG_DWORD, Bytes{1, 0, 0, 0}, 0, "\x01"},
        {"number 0", REG_DWORD, Bytes{0, 0, 0, 0}, 0, ""},
        {"inner NUL", REG_BINARY, Bytes{'A', 'B', 0, 'C', 'D', 0}, 0, "AB"},
        {"multi-string", REG_MULTI_SZ, Bytes{'A', 0, 'B', 0, 0}, 0, "A"},
        {"empty string", REG_SZ, Text(""), 0, ""},
        // Stored without a terminator: taken whole while room for one remains.
        {"3 bytes, no NUL", REG_SZ, Text("E:\\", false), 0, "E:\\"},
        {"259 bytes, no NUL", REG_BINARY, Text(longest, false), 0, longest},
        {"260 bytes, no NUL", REG_SZ, Text(std::string(260, 'P'), false), 1, ""},
        {"zero bytes", REG_SZ, Bytes{}, 0, ""},
        {"zero bytes, no type", REG_NONE, Bytes{}, 0, ""},
    };
    for (const ValueCase &c : cases) {
        SetUp();
        sim::SetValue(ProductKey, "AppPath", c.type, c.bytes);
        std::string registry = sim::RegistryDump();

        EXPECT_EQ(ReadInstallPath(), c.result) << c.name;
        if (c.result == 0) {
            EXPECT_EQ(std::string(InstallPath), c.installPath) << c.name;
        } else {
            EXPECT_TRUE(InstallPathUntouched()) << c.name;
        }
        EXPECT_EQ(sim::OpenKeyCount(), 0) << c.name;
        EXPECT_EQ(sim::LastOpenOptions(), 0u);
        EXPECT_EQ(sim::LastOpenAccess(), 0x20019u);
        EXPECT_EQ(sim::RegistryDump(), registry) << c.name;
    }
}

TEST_F(InstallLookup, MissingKeyOrValueMeansNotRegistered) {
    struct {
        const char *name;
        void (*prepare)();
    } cases[] = {
        {"no registry at all", [] {}},
        {"parent key only", [] { sim::AddKey("SOFTWARE\\Talvox\\Ombrik\\Quarlo"); }},
        {"other version",
         [] { sim::SetStringValue("SOFTWARE\\Talvox\\Ombrik\\Quarlo\\1.001", "AppPath", "E:\\"); }},
        {"key without the value", [] { sim::AddKey(ProductKey); }},
        {"other value name", [] { sim::SetStringValue(ProductKey, "AppPath2", "E:\\"); }},
        {"default value only", [] { sim::SetStringValue(ProductKey, "", "E:\\"); }},
    };
    for (const auto &c : cases) {
        SetUp();
        c.prepare();
        EXPECT_EQ(ReadInstallPath(), 1) << c.name;
        EXPECT_TRUE(InstallPathUntouched()) << c.name;
        EXPECT_EQ(sim::OpenKeyCount(), 0) << c.name;
    }
}

TEST_F(InstallLookup, KeyAndValueNamesIgnoreCaseAsTheRegistryDoes) {
    sim::SetStringValue("software\\talvox\\OMBRIK\\quarlo\\1.000", "apppath", "E:\\PROD\\X");
    EXPECT_EQ(ReadInstallPath(), 0);
    EXPECT_STREQ(InstallPath, "E:\\PROD\\X");
}

TEST_F(InstallLookup, ProductKeyIsTheProductsRegistryPath) {
    EXPECT_STREQ(ProductKey, "SOFTWARE\\Talvox\\Ombrik\\Quarlo\\1.000");
}

} // namespace
