#pragma once

#include <filesystem>
#include <string>

#include "ground/FilePath.h"

namespace fw::sim {

// A fresh folder under the system's temporary directory, removed with its
// contents when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return pathText(path_); }
    std::string file(const std::string& name) const { return pathText(path_ / filePath(name)); }

private:
    std::filesystem::path path_;
};

} // namespace fw::sim
