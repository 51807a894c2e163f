#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace fw {

// Texts inside the program are UTF-8 on every system, paths among them. A
// path reaches the file system only through filePath, so that on Windows it
// is handed over as the wide name the technician sees (names beyond the ANSI
// code page included) instead of being read in the ANSI code page.
std::filesystem::path filePath(std::string_view text);

// A path from the file system as the program's own text (UTF-8).
std::string pathText(const std::filesystem::path& path);

// Files that older copies of the program wrote and read (settings.ini, list
// files) hold 8-bit text in the system's ANSI code page on Windows. These
// turn such text into the program's UTF-8 and back; elsewhere the bytes are
// kept as they are.
std::string fromStoredText(std::string_view stored);
std::string toStoredText(std::string_view text);

} // namespace fw
