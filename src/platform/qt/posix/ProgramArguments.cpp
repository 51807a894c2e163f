// Each argument reaches the program as it is, blanks and all.
#include "qt/ProgramArguments.h"

#include <QStringList>

namespace fw::qt {

void setArguments(QProcess& process, const std::vector<std::string>& arguments)
{
    QStringList list;
    for (const std::string& a : arguments) list << QString::fromStdString(a);
    process.setArguments(list);
}

// The bytes as given: a name need not be UTF-8 here to name a file.
std::vector<std::string> ownArguments(int argc, char* argv[]) { return {argv + 1, argv + argc}; }

} // namespace fw::qt
