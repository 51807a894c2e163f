// Windows programs parse their own command line: they get the text exactly
// as built, without quoting added.
#include "qt/ProgramArguments.h"

#include <QCoreApplication>

#include "qt/Text8.h"

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

// argv holds the ANSI code page's rendering, which turns letters beyond it
// into "?"; Qt reads the wide command line.
std::vector<std::string> ownArguments(int, char*[])
{
    std::vector<std::string> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i) arguments.push_back(fromQt(all[i]));
    return arguments;
}

} // namespace fw::qt
