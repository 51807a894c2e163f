// A program started without a shell takes its options one by one.
#include "transfer/IspCommandLine.h"

namespace fw {

std::vector<std::string> ispArguments(int portNumber, const std::string& imagePath)
{
    return ispArgumentList(portNumber, imagePath);
}

} // namespace fw
