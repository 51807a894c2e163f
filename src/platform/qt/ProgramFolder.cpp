#include "qt/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "ground/SettingsFile.h"
#include "qt/Text8.h"
#include "transfer/IspCommandLine.h"

namespace fw::qt {

namespace {

bool holds(const QString& folder, const char* name) { return QFileInfo::exists(folder + QLatin1Char('/') + name); }

} // namespace

void setProgramName() { QCoreApplication::setApplicationName(QString::fromLatin1(kProgramId)); }

std::string chooseProgramFolder(const std::string& executableFolder, const std::string& userDataFolder)
{
    const QString folder = toQt(executableFolder);
    const bool portable = holds(folder, kSettingsFileName) || holds(folder, fw::kIspToolName);
    return portable ? executableFolder : userDataFolder;
}

std::string programFolder(bool create)
{
    const std::string executable = fromQt(QCoreApplication::applicationDirPath());
    const std::string data = fromQt(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const std::string chosen = chooseProgramFolder(executable, data);
    if (create && chosen == data) QDir().mkpath(toQt(data));
    return fromQt(QDir::toNativeSeparators(toQt(chosen)));
}

std::string documentationFolder()
{
    const QDir executable(QCoreApplication::applicationDirPath());
    for (const char* relative : {"../share/doc/firmware-upgrade-tool", "docs"}) {
        const QString folder = QDir::cleanPath(executable.filePath(QString::fromLatin1(relative)));
        if (holds(folder, "events.md")) return fromQt(QDir::toNativeSeparators(folder));
    }
    return {};
}

} // namespace fw::qt
