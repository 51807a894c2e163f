#include "InternalError.h"

#include <exception>

#include "ground/Texts.h"

namespace fw::cli {

namespace {

JobOutcome internalError(const std::string& what)
{
    return {false, texts::InternalError + what + texts::InternalErrorTail};
}

} // namespace

JobOutcome reportingInternalErrors(const std::function<JobOutcome()>& job)
{
    try {
        return job();
    } catch (const std::exception& e) {
        return internalError(e.what());
    } catch (...) {
        return internalError("an unknown exception");
    }
}

} // namespace fw::cli
