#include "link/CheckModel.h"

#include <array>
#include <optional>
#include <string_view>

#include "ground/ModelName.h"
#include "ground/Text.h"
#include "link/SendCommand.h"

namespace fw {

namespace {

constexpr const char* kModelQuery = "op model.name ?";
// Searched in this order: a path naming two models is matched on the first.
constexpr std::array<std::string_view, 3> kModelNumbers = {"2416", "2436", "1952"};

std::optional<std::string_view> modelNumberIn(const std::string& upImagePath)
{
    for (std::string_view number : kModelNumbers)
        if (contains(upImagePath, number)) return number;
    return std::nullopt;
}

ModelMatch judge(const Reply& reply, const std::string& upImagePath, bool listFileKnown)
{
    if (reply.lostToPortFailure()) return ModelMatch::PortFailed;
    if (!contains(reply.text, kFamilyMark)) return ModelMatch::NotAnswered;
    if (const auto number = modelNumberIn(upImagePath))
        return contains(reply.text, *number) ? ModelMatch::Matches : ModelMatch::Mismatch;
    return listFileKnown ? ModelMatch::Matches : ModelMatch::NoPackage;
}

} // namespace

ModelCheck CheckModel(Link& link, const std::string& upImagePath, bool listFileKnown)
{
    const Reply reply = exchange(link, kModelQuery);
    const ModelMatch match = judge(reply, upImagePath, listFileKnown);
    const auto number = match == ModelMatch::Matches ? modelNumberIn(upImagePath) : std::nullopt;
    return {match, reply.portFailure, reply.text, modelNameIn(reply.text), std::string(number.value_or(""))};
}

} // namespace fw
