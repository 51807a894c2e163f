// Randomized fault exploration: whole flows on the virtual clock against a
// projector, an ISP tool and a port drawn from each seed, with the promises
// to the technician checked after every run. A failing seed prints itself
// and replays exactly with --seed.
//
// With --venues each seed is a venue instead: several projectors with their
// faults, each on a thread of its own, one first or a few at once.
//
//   fwup-explore [--venues] [--from FIRST] [--count N] [--seed S] [--verbose]
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

#include "Explorer.h"
#include "Venue.h"
#include "TempFolder.h"

int main(int argc, char* argv[])
{
    uint64_t first = 1;
    uint64_t count = 100;
    bool verbose = false;
    bool venues = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--from" && hasValue) first = std::stoull(argv[++i]);
        else if (a == "--count" && hasValue) count = std::stoull(argv[++i]);
        else if (a == "--seed" && hasValue) first = std::stoull(argv[++i]), count = 1, verbose = true;
        else if (a == "--verbose") verbose = true;
        else if (a == "--venues") venues = true;
        else {
            std::cerr << "usage: fwup-explore [--venues] [--from FIRST] [--count N] [--seed S] [--verbose]\n";
            return 2;
        }
    }

    fw::sim::TempFolder folder;
    const auto package = fw::explore::makeSharedPackage(folder.str());
    const auto started = std::chrono::steady_clock::now();
    uint64_t failed = 0;
    double virtualSeconds = 0;
    for (uint64_t seed = first; seed < first + count; ++seed) {
        fw::explore::Verdict verdict;
        std::string described;
        if (venues) {
            const auto venue = fw::explore::drawVenue(seed);
            verdict = fw::explore::runVenue(venue, package);
            described = fw::explore::describe(venue);
        } else {
            const auto scenario = fw::explore::drawScenario(seed);
            verdict = fw::explore::runScenario(scenario, package);
            described = fw::explore::describe(scenario);
        }
        virtualSeconds += verdict.virtualSeconds;
        if (verdict.violations.empty() && !verbose) continue;
        std::cout << described << '\n';
        for (const auto& m : verdict.messages) std::cout << "  box: " << m << '\n';
        for (const auto& v : verdict.violations) std::cout << "  VIOLATED: " << v << '\n';
        if (!verdict.violations.empty()) {
            ++failed;
            std::cout << "  replay: fwup-explore " << (venues ? "--venues " : "") << "--seed " << seed << '\n';
        }
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << "explored seeds " << first << ".." << first + count - 1 << ": " << count - failed << " passed, "
              << failed << " failed (" << virtualSeconds / 3600 << " h of virtual time in " << wall << " s)\n";
    std::cout << count - failed << " passed, " << failed << " failed\n";
    return failed == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
