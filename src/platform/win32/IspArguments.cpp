// A Windows program parses its own command line: it gets the one text.
#include "transfer/IspCommandLine.h"

namespace fw {

std::vector<std::string> ispArguments(int portNumber, const std::string& imagePath)
{
    return {ispParameterText(portNumber, imagePath)};
}

} // namespace fw
