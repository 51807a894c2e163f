#include "job/VenueReport.h"

#include "ground/SettingsFile.h"
#include "ground/Texts.h"

namespace fw {

std::string projectorName(const std::string& label, int port)
{
    if (label.empty()) return portName(port);
    return label + " (" + portName(port) + ")";
}

std::string venueQuestion(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
    return texts::VenueUpgrading + std::to_string(names.size()) +
           (names.size() == 1 ? texts::VenueOneProjector : texts::VenueProjectors) + list + ".\n\n" +
           texts::UpgradeConfirmation;
}

std::string venueSummary(JobKind kind, const std::vector<RowEnd>& rows)
{
    std::size_t succeeded = 0;
    std::string failed;
    std::string notStarted;
    for (const RowEnd& row : rows) {
        if (!row.started) {
            notStarted += (notStarted.empty() ? "" : ", ") + row.name;
        } else if (row.outcome.succeeded) {
            ++succeeded;
        } else {
            const std::string& why = row.outcome.message.empty() ? row.outcome.failure : row.outcome.message;
            failed += (failed.empty() ? "" : " ") + row.name + ": " + why;
        }
    }
    std::string summary = std::to_string(succeeded) + texts::VenueOf + std::to_string(rows.size()) +
                          (kind == JobKind::Upgrade ? texts::VenueUpgraded : texts::VenueChecked);
    if (!failed.empty()) summary += texts::VenueFailed + failed;
    if (!notStarted.empty()) summary += texts::VenueNotStartedList + notStarted + ".";
    return summary;
}

std::string notStartedMessage(JobKind kind, const std::string& firstName)
{
    return texts::VenueNotStarted + firstName +
           (kind == JobKind::Upgrade ? texts::VenueFirstDidNotComplete : texts::VenueFirstDidNotPass);
}

} // namespace fw
