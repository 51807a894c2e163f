#pragma once

#include <string>
#include <string_view>

namespace fw {

// Every model name of the maker holds the family mark: "QT-2416", "QT2436".
inline constexpr const char* kFamilyMark = "QT";

// The model as a technician knows it, from a reply to the model query: the
// first word that holds the family mark, without the query's echo, a
// prompt or the line ends around it ("model.name = QT-2416" CR LF ">" gives
// "QT-2416"). Empty when no word holds it.
std::string modelNameIn(std::string_view reply);

} // namespace fw
