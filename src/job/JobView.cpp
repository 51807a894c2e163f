#include "job/JobView.h"

namespace fw {

Answer JobView::showMessage(const std::string& text, MessageStyle style)
{
    if (style != MessageStyle::Question) return Answer::Ok;
    return question_.confirm(text) ? Answer::Yes : Answer::No;
}

} // namespace fw
