// The main of the tests: they run under the locale the environment names,
// as the window and fwupgrade do (Qt applies it to the C library on Unix),
// with the C++ global locale set from it too, so a number read or written
// through the locale goes wrong here as it would on a technician's machine.
// A run asked for a locale (LC_ALL) that is not installed is skipped with
// exit status 77, never passed.

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <locale>
#include <stdexcept>

namespace {

constexpr int kSkipped = 77;

bool applyEnvironmentLocale()
{
    if (!std::setlocale(LC_ALL, "")) return false;
    try {
        std::locale::global(std::locale(""));
    } catch (const std::runtime_error&) {
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    const char* asked = std::getenv("LC_ALL");
    if (!applyEnvironmentLocale()) {
        if (asked && *asked) {
            std::printf("skipped: the locale %s is not installed here\n", asked);
            return kSkipped;
        }
        std::setlocale(LC_ALL, "C");  // a LANG naming a missing locale leaves the C library in C, as Qt finds it
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
