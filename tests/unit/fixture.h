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

// Every entry of the environment whose name begins with '=', as "name=value;" text.
inline std::string DriveEntries(const sim::Environment &environment) {
    std::string entries;
    for (const auto &[name, value] : environment) {
        if (!name.empty() && name[0] == '=') {
            entries += name + "=" + value + ";";
        }
    }
    return entries;
}

#endif
