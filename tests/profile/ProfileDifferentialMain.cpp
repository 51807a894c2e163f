// fwup-profile-diff: our settings-file reader and writer held against
// Windows' own GetPrivateProfileStringA and WritePrivateProfileStringA on
// generated files. Each seed is one file; a difference prints its seed, and
// `fwup-profile-diff --seed S` replays that file and shows it.
//
//   fwup-profile-diff [--from F] [--count N] [--seed S]

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "ProfileCase.h"
#include "ProfileDifferences.h"
#include "PackageMaker.h"
#include "TempFolder.h"
#include "ground/FilePath.h"
#include "ground/ProfileFile.h"

using namespace fw;
using namespace fw::testing;

namespace {

// The buffer the program reads its settings into.
constexpr DWORD kReadBuffer = 1024;

std::string windowsRead(const std::string& path, const std::string& section, const std::string& key)
{
    std::string buffer(kReadBuffer, '\0');
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), kReadBuffer, path.c_str());
    buffer.resize(n);
    return buffer;
}

std::string shown(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n\n";
        else if (c == '\t') out += "\\t";
        else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else out += static_cast<char>(c);
    }
    return out;
}

std::string clipped(const std::string& text)
{
    const std::string s = shown(text);
    return s.size() > 70 ? s.substr(0, 60) + "...(" + std::to_string(text.size()) + " bytes)" : s;
}

struct Tally {
    std::size_t files = 0, reads = 0, writes = 0, unexplained = 0;
    std::map<std::string, std::size_t> explained;
};

void note(Tally& tally, std::uint32_t seed, const Difference& difference, bool verbose)
{
    const std::string reason = explain(difference);
    if (!reason.empty()) {
        ++tally.explained[reason];
        if (!verbose) return;
    } else {
        ++tally.unexplained;
    }
    std::printf("seed %u: %s [%s] %s: ours \"%s\", Windows \"%s\"%s%s\n", seed, difference.what.c_str(),
                difference.section.c_str(), difference.key.c_str(), clipped(difference.ours).c_str(),
                clipped(difference.theirs).c_str(), reason.empty() ? "" : " -- known: ", reason.c_str());
    if (reason.empty() && !verbose) std::printf("  replay: fwup-profile-diff --seed %u\n", seed);
}

void runCase(std::uint32_t seed, const sim::TempFolder& folder, Tally& tally, bool verbose)
{
    const ProfileCase c = generateProfileCase(seed);
    const std::string theirs = folder.file("w" + std::to_string(seed) + ".ini");
    const std::string ours = folder.file("o" + std::to_string(seed) + ".ini");
    testing::writeFile(theirs, c.content);
    testing::writeFile(ours, c.content);
    if (verbose) std::printf("seed %u file:\n%s\n-- end of file\n", seed, shown(c.content).c_str());
    // Every key of every section, read one way from our side and Windows' way from theirs.
    const auto compareAll = [&](const char* what, const Write& write, const auto& readOurs) {
        for (const auto& section : c.sections)
            for (const auto& key : c.keys) {
                const std::string mine = readOurs(section, key);
                const std::string windows = windowsRead(theirs, section, key);
                if (mine != windows) note(tally, seed, {what, c.content, section, key, mine, windows, write}, verbose);
            }
    };
    compareAll("read", {}, [&](const std::string& section, const std::string& key) {
        ++tally.reads;
        return profileValue(c.content, section, key);
    });

    ++tally.writes;
    ProfileFile(ours).write(c.writeSection, c.writeKey, c.writeValue);
    // Ours stores the program's UTF-8 text in the ANSI code page where it fits;
    // Windows is given those same bytes, so the files differ only in their form.
    const std::string stored = toStoredText(c.writeValue);
    WritePrivateProfileStringA(c.writeSection.c_str(), c.writeKey.c_str(), stored.c_str(), theirs.c_str());
    if (verbose)
        std::printf("wrote [%s] %s = \"%s\"; ours now:\n%s\n-- Windows' now:\n%s\n-- end\n", c.writeSection.c_str(),
                    c.writeKey.c_str(), shown(c.writeValue).c_str(), shown(testing::readFile(ours)).c_str(),
                    shown(testing::readFile(theirs)).c_str());
    compareAll("read after write", {c.writeSection, c.writeKey, c.writeValue},
               [&](const std::string& section, const std::string& key) { return windowsRead(ours, section, key); });
    std::filesystem::remove(theirs);
    std::filesystem::remove(ours);
    ++tally.files;
}

} // namespace

int main(int argc, char** argv)
{
    std::uint32_t from = 1, count = 10000;
    bool verbose = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const auto number = static_cast<std::uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
        if (option == "--from") from = number;
        else if (option == "--count") count = number;
        else if (option == "--seed") from = number, count = 1, verbose = true;
        else {
            std::fprintf(stderr, "usage: fwup-profile-diff [--from F] [--count N] [--seed S]\n");
            return 2;
        }
    }
    sim::TempFolder folder;
    Tally tally;
    for (std::uint32_t seed = from; seed < from + count; ++seed) runCase(seed, folder, tally, verbose);

    for (const auto& [reason, n] : tally.explained) std::printf("known difference, %zu times: %s\n", n, reason.c_str());
    std::printf("%zu files, %zu reads and %zu writes against Windows: %zu unexplained differences\n", tally.files,
                tally.reads, tally.writes, tally.unexplained);
    return tally.unexplained == 0 ? 0 : 1;
}
