// A fresh simulated machine and a zeroed InstallPath for every test, as at process start.
#ifndef LAUNCH_TESTS_FIXTURE_H
#define LAUNCH_TESTS_FIXTURE_H

#include "launcher.h"
#include "simulated_windows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

class Machine : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::Reset();
        std::memset(InstallPath, 0, sizeof InstallPath);
    }

    static void Register(const std::string &folder) {
        sim::SetStringValue(ProductKey, "AppPath", folder);
    }
};

// The error box's text for a folder.
inline std::string ErrorText(const std::string &folder) {
    return "Could not change to directory " + folder + "!\n\nPlease run the installation program.";
}

// A folder below root named with 200 two-byte characters of code page 932 ("\x82\xA0" is
// U+3042, HIRAGANA LETTER A): 200 characters more than root, but 400 bytes.
inline std::string TwoByteFolder(const std::string &root) {
    std::string folder = root;
    for (int i = 0; i < 200; i++) {
        folder += "\x82\xA0";
    }
    return folder;
}

using sim::DriveEntries;

#endif
