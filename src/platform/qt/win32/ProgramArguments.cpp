// Windows programs parse their own command line: they get the text exactly
// as built, without quoting added.
#include "qt/ProgramArguments.h"

namespace fw::qt {

void setArguments(QProcess& process, const std::vector<std::string>& arguments)
{
    QString line;
    for (const std::string& a : arguments) {
        if (!line.isEmpty()) line += QLatin1Char(' ');
        line += QString::fromStdString(a);
    }
    process.setNativeArguments(line);
}

} // namespace fw::qt
