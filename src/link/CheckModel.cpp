#include "link/CheckModel.h"

#include <array>
#include <optional>
#include <string_view>

#include "link/SendCommand.h"
#include "shell/Text.h"
#include "shell/WindowOps.h"

namespace fw {

namespace {

constexpr const char* kModelQuery = "op model.name ?";
constexpr const char* kFamilyMark = "QT";  // every model name of the maker begins with it
// Searched in this order: a path naming two models is matched on the first.
constexpr std::array<std::string_view, 3> kModelNumbers = {"2416", "2436", "1952"};
constexpr const char* kMismatch = "Text file doesn't match the connected projector.";

std::optional<std::string_view> modelNumberIn(const std::string& upImagePath)
{
    for (std::string_view number : kModelNumbers)
        if (contains(upImagePath, number)) return number;
    return std::nullopt;
}

// The reply holds the family mark: decide on the model number.
bool judgeModel(Tool& tool, const std::string& reply)
{
    bool result = false;
    if (const auto number = modelNumberIn(tool.state.package.UpImagePath)) {
        result = contains(reply, *number);
        tool.view.setEnabled(Control::cmdUpgradeSW, result);
        if (!result) report(tool, kMismatch, MessageStyle::Critical);
    } else if (!tool.state.NoListFile) {
        tool.view.setEnabled(Control::cmdUpgradeSW, true);
        result = true;
    }
    tool.view.setEnabled(Control::cmdOpenFile1, true);
    return result;
}

} // namespace

bool CheckModel(Tool& tool)
{
    const Reply reply = exchange(tool, kModelQuery);
    if (reply.text.empty() && !reply.sent) return false;  // SendCommand has reported it
    if (contains(reply.text, kFamilyMark)) return judgeModel(tool, reply.text);

    tool.view.setEnabled(Control::cmdUpgradeSW, false);
    tool.view.setEnabled(Control::cmdOpenFile1, false);
    report(tool, kLinkFailed, MessageStyle::Critical);
    return false;
}

} // namespace fw
