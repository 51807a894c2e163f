#include "ConsoleView.h"

namespace fw::cli {

ConsoleView::ConsoleView(Console& console, std::string prefix, bool assumeYes, std::istream& in)
    : console_(console), prefix_(std::move(prefix)), assumeYes_(assumeYes), in_(in)
{
}

Answer ConsoleView::showMessage(const std::string& text, MessageStyle style)
{
    if (style != MessageStyle::Question) return Answer::Ok;
    if (assumeYes_) return Answer::Yes;
    return console_.ask(prefix_ + text, in_) ? Answer::Yes : Answer::No;
}

} // namespace fw::cli
