#include "platform/posix/WineLaunch.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string_view>
#include <unistd.h>

#include "ground/SettingsFile.h"
#include "ground/Texts.h"

namespace fw::platform {

namespace {

constexpr const char* kShell = "/bin/sh";
constexpr const char* kLauncherName = "fwupgrade-wine";  // the name its own messages carry
constexpr const char* kDefaultWine = "wine";
constexpr char kWindowsExecutableMark[] = {'M', 'Z'};

// Where the PE header starts is written at 0x3c; the header is "PE\0\0",
// then the machine the program is built for.
constexpr std::streamoff kPeHeaderOffsetAt = 0x3c;
constexpr uint16_t kMachineI386 = 0x014c;
constexpr uint16_t kMachineAmd64 = 0x8664;

// Where Debian's wine packages put wine's own loaders (wine64 and wine32);
// elsewhere a "wine64" in the search path is the 64-bit loader.
constexpr const char* kDebianWine64Loader = "/usr/lib/wine/wine64";
constexpr const char* kDebianWine32Loader = "/usr/lib/wine/wine";
constexpr const char* kWine64LoaderName = "wine64";

// $1 prefix, $2 wine, $3 port number (empty: none), $4 device, $5 the tool,
// then the tool's arguments. Every wine but the tool's own runs with its
// output discarded and without the lock's descriptor: the wine server it may
// start outlives this run and must hold neither our caller's output open nor
// the lock. The prefix's COMn lasts as the registry value (wine's mount
// manager rewrites the dosdevices links from it at every start); the link
// serves a wine server already running for another port's tool.
constexpr const char* kLauncherScript = R"sh(prefix=$1 wine=$2 port=$3 device=$4 tool=$5
shift 5
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's own loader, started directly, must be the one wine starts again.
case $wine in */wine64) export WINELOADER="$wine" ;; esac
quiet() { "$wine" "$@" </dev/null >/dev/null 2>&1 9>&-; }
mkdir -p "$prefix" && exec 9>"$prefix.lock" && flock 9 || exit 1
if [ ! -e "$prefix/.fwupgrade-ready" ]; then
  quiet wineboot.exe -i || { echo "$0: cannot set up the wine prefix $prefix" >&2; exit 1; }
  # The new registry is on disk once its wine server has ended.
  server="${wine%/*}/wineserver"
  [ -x "$server" ] || server=wineserver
  "$server" -w </dev/null >/dev/null 2>&1 9>&-
  : > "$prefix/.fwupgrade-ready"
fi
if [ -n "$port" ]; then
  quiet reg.exe add 'HKLM\Software\Wine\Ports' /v "COM$port" /t REG_SZ /d "$device" /f ||
    { echo "$0: cannot name $device COM$port in the wine prefix $prefix" >&2; exit 1; }
fi
n=$#
while [ "$n" -gt 0 ]; do
  a=$1; shift; n=$((n - 1))
  case $a in
  Z:\\*) s=$("$wine" winepath.exe -s "$a" </dev/null 2>/dev/null 9>&- | tr -d '\r'); [ -n "$s" ] && a=$s ;;
  esac
  set -- "$@" "$a"
done
[ -z "$port" ] || ln -sfn "$device" "$prefix/dosdevices/com$port" || exit 1
exec 9>&-
exec "$wine" "$tool" "$@"
)sh";


bool isRunnable(const std::string& path) { return !path.empty() && ::access(path.c_str(), X_OK) == 0; }

std::string findInSearchPath(const std::string& name, std::string_view searchPath)
{
    while (!searchPath.empty()) {
        const std::size_t end = std::min(searchPath.find(':'), searchPath.size());
        const std::string_view folder = searchPath.substr(0, end);
        // An empty entry is the current folder, which the program never means.
        if (!folder.empty()) {
            const std::string candidate = std::string(folder) + "/" + name;
            if (isRunnable(candidate)) return candidate;
        }
        searchPath.remove_prefix(std::min(end + 1, searchPath.size()));
    }
    return {};
}

} // namespace

bool isWindowsExecutable(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    char start[sizeof kWindowsExecutableMark] = {};
    return file.read(start, sizeof start) && std::equal(std::begin(start), std::end(start), kWindowsExecutableMark);
}

WindowsMachine windowsMachineOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    unsigned char offset[4] = {};
    if (!file.seekg(kPeHeaderOffsetAt) || !file.read(reinterpret_cast<char*>(offset), sizeof offset))
        return WindowsMachine::Other;
    const uint32_t at = offset[0] | offset[1] << 8 | offset[2] << 16 | uint32_t{offset[3]} << 24;
    unsigned char header[6] = {};
    if (!file.seekg(at) || !file.read(reinterpret_cast<char*>(header), sizeof header)) return WindowsMachine::Other;
    if (!std::equal(header, header + 4, "PE\0\0")) return WindowsMachine::Other;
    const uint16_t machine = static_cast<uint16_t>(header[4] | header[5] << 8);
    if (machine == kMachineI386) return WindowsMachine::X86_32;
    if (machine == kMachineAmd64) return WindowsMachine::X86_64;
    return WindowsMachine::Other;
}

std::string wineProgram(const std::string& runnerSetting, const std::string& searchPath)
{
    const std::string wanted = runnerSetting.empty() ? kDefaultWine : runnerSetting;
    if (wanted.find('/') != std::string::npos) return isRunnable(wanted) ? wanted : std::string();
    return findInSearchPath(wanted, searchPath);
}

std::string windowsPathOf(const std::string& absolutePath)
{
    std::string path = "Z:" + absolutePath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string wineMissingMessage(const std::string& toolName, const std::string& runnerSetting)
{
    const std::string cannotStart = texts::ToolCannotStart + toolName + texts::ToolIsWindowsProgram;
    const std::string runnerKey = std::string(kIspRunnerSetting.key) + "=";
    const std::string runnerPlace = runnerKey + texts::SettingInSection + kIspRunnerSetting.section +
                                    texts::SectionOfFile + kSettingsFileName + ".";
    if (runnerSetting.empty()) return cannotStart + texts::WineMissing + runnerPlace;
    return cannotStart + runnerKey + runnerSetting + texts::SettingIn + kSettingsFileName + texts::RunnerMissing +
           runnerPlace;
}

WineFacts findWineFacts(const std::string& runnerSetting, const std::string& searchPath)
{
    WineFacts facts;
    facts.wine = wineProgram(runnerSetting, searchPath);
    // The technician's runner is used as it is; without wine nothing runs.
    if (!runnerSetting.empty() || facts.wine.empty()) return facts;
    const bool debianWine = isRunnable(kDebianWine64Loader);
    facts.wine64Loader = debianWine ? kDebianWine64Loader : findInSearchPath(kWine64LoaderName, searchPath);
    facts.wine32Missing = debianWine && !isRunnable(kDebianWine32Loader);
    facts.machine = thisMachineRuns32BitPrograms();
    return facts;
}

WineChoice chooseWine(WindowsMachine tool, const std::string& toolName, const std::string& runnerSetting,
                      const WineFacts& facts)
{
    if (facts.wine.empty()) return {{}, wineMissingMessage(toolName, runnerSetting)};
    if (!runnerSetting.empty()) return {facts.wine, {}};
    const bool no32Bit = facts.machine == ThirtyTwoBit::DoesNotRun;
    const std::string cannotStart = texts::ToolCannotStart + toolName + texts::ToolIs32BitProgram;
    if (tool == WindowsMachine::X86_32 && no32Bit) return {{}, cannotStart + texts::No32BitSupport};
    if (tool == WindowsMachine::X86_32 && facts.wine32Missing) return {{}, cannotStart + texts::Wine32Missing};
    // wine itself would start its 32-bit loader, which this kernel refuses.
    if (tool == WindowsMachine::X86_64 && no32Bit && !facts.wine64Loader.empty()) return {facts.wine64Loader, {}};
    return {facts.wine, {}};
}

Launch wineLaunch(const WineSetup& setup, const std::string& tool, const std::vector<std::string>& arguments)
{
    Launch launch{kShell,
                  {"-c", kLauncherScript, kLauncherName, setup.prefix, setup.wine,
                   setup.port > 0 ? std::to_string(setup.port) : std::string(), setup.device, tool}};
    for (const std::string& argument : arguments)
        launch.arguments.push_back(argument.starts_with('/') ? windowsPathOf(argument) : argument);
    return launch;
}

} // namespace fw::platform
