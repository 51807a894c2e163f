#include "SimOptions.h"

#include <charconv>
#include <functional>
#include <map>

namespace fw::sim {

const char* const kSimUsage =
    "usage: projector-sim [options]\n"
    "Opens a pseudo-terminal, prints its device path on the first line and\n"
    "answers on it as a projector would, in real time.\n"
    "\n"
    "  --model NAME        model name it reports (default QT2416)\n"
    "  --paced             38400 bit/s, ten bit times a byte, for commands and the loader\n"
    "                      (the uP image takes about 68 s); the scaler's ISP mode stays\n"
    "                      unpaced (its image of megabytes would take minutes)\n"
    "  --sink              no projector: only take in and count bytes (for timing a writer)\n"
    "  --report FILE       on exit, what it was flashed with: sizes, byte sums, whole or\n"
    "                      not, the time from the first to the last uP image byte taken\n"
    "                      in (up_transfer_ms), every byte the host sent (received_bytes),\n"
    "                      the commands taken, in order, separated by | (commands);\n"
    "                      with --sink the bytes taken in and the\n"
    "                      time from the first to the last (sink_bytes, sink_ms)\n"
    "  --link PATH         also make PATH a symbolic link to the device\n"
    "  --no-image-check    accept a uP image without a valid integrity trailer\n"
    "  misbehaviours:      --silent --no-echo --echo-only --lower-case --upper-case-y\n"
    "                      --40000h --FILE --RIGHT! --no-verdict --no-boot --no-gennum\n"
    "  faults:             --cut-after N (close the line after N image bytes)\n"
    "                      --drop-byte N --duplicate-byte N --noise-before-byte N\n"
    "                      --noise-every MS\n";

namespace {

std::optional<uint64_t> number(const std::string& text)
{
    uint64_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace

SimOptionsResult parseSimOptions(const std::vector<std::string>& arguments)
{
    SimOptions o;
    ProjectorOptions& p = o.projector;
    LoaderOptions& l = p.loader;
    l.checksIntegrityTrailer = true;  // sample packages carry the trailer; a real loader checks its image
    const std::map<std::string, std::function<void()>> switches = {
        {"--paced", [&] { o.paced = true; }},
        {"--sink", [&] { o.sink = true; }},
        {"--silent", [&] { p.silent = true; }},
        {"--no-echo", [&] { p.echo = false; }},
        {"--echo-only", [&] { p.answer = false; }},
        {"--lower-case", [&] { p.lowerCaseAnswers = true; }},
        {"--upper-case-y", [&] { l.question = "\r\nDownload new uP software ('Y'/'N') ? "; }},
        {"--40000h", [&] { l.lengthPrompt = "\r\nImage length (40000h) : "; }},
        {"--FILE", [&] { l.dataRequest = "\r\nReady, send the FILE now\r\n"; }},
        {"--RIGHT!", [&] { l.verdictRight = "\r\nRIGHT!\r\n"; }},
        {"--no-verdict", [&] { l.verdictRight.clear(); l.verdictWrong.clear(); }},
        {"--no-boot", [&] { l.restartBanner.clear(); }},
        {"--no-gennum", [&] { p.isp.banner.clear(); }},
        {"--no-image-check", [&] { l.checksIntegrityTrailer = false; }},
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--help" || a == "-h") return {std::nullopt, {}, true};
        if (const auto s = switches.find(a); s != switches.end()) {
            s->second();
            continue;
        }
        if (i + 1 >= arguments.size()) return {std::nullopt, "unknown option or missing value: " + a, false};
        const std::string& v = arguments[++i];
        const auto n = number(v);
        if (a == "--model") p.modelName = v;
        else if (a == "--report") o.reportFile = v;
        else if (a == "--link") o.linkPath = v;
        else if (!n) return {std::nullopt, a + " needs a number, not '" + v + "'", false};
        else if (a == "--cut-after") o.closeAfterImageByte = *n, p.faults.cutAtImageByte = *n;
        else if (a == "--drop-byte") p.faults.dropImageByte = *n;
        else if (a == "--noise-before-byte") p.faults.noiseBeforeImageByte = *n;
        else if (a == "--duplicate-byte") p.faults.duplicateImageByte = *n;
        else if (a == "--noise-every") o.noiseEveryMs = static_cast<uint32_t>(*n);
        else return {std::nullopt, "unknown option: " + a, false};
    }
    return {o, {}, false};
}

} // namespace fw::sim
