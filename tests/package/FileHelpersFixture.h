#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "TempFolder.h"

namespace fw::test {

struct FileHelpersTest : ::testing::Test {
    sim::TempFolder folder;
    std::string touch(const std::string& name)
    {
        const std::string path = folder.file(name);
        std::ofstream(path) << "x";
        return path;
    }
    std::string mkdir(const std::string& name)
    {
        std::filesystem::create_directories(folder.path() / name);
        return folder.file(name);
    }
};

} // namespace fw::test
