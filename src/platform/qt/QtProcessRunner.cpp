#include "qt/QtProcessRunner.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <memory>

#include "qt/ProcessTree.h"
#include "qt/ProgramArguments.h"

namespace fw::qt {

namespace {

constexpr int kStartTimeoutMs = 10000;
constexpr int kStopWaitMs = 5000;  // a killed process is gone at once; this is only a bound

class QtRunningProcess final : public fw::RunningProcess {
public:
    explicit QtRunningProcess(std::unique_ptr<QProcess> process) : process_(std::move(process)), tree_(*process_) {}

    bool hasEnded() override
    {
        if (process_->state() == QProcess::NotRunning) return true;
        process_->waitForFinished(0);  // collects an ended child without blocking
        return process_->state() == QProcess::NotRunning;
    }

    std::optional<int> exitCode() override
    {
        if (!hasEnded() || process_->exitStatus() != QProcess::NormalExit) return std::nullopt;
        return process_->exitCode();
    }

    void stop() override
    {
        tree_.stop();
        if (process_->state() != QProcess::NotRunning) process_->waitForFinished(kStopWaitMs);
    }

private:
    std::unique_ptr<QProcess> process_;
    ProcessTree tree_;  // destroyed first: whatever still runs of the tree is stopped
};

bool programExists(const QString& program)
{
    if (program.contains(QLatin1Char('/')) || program.contains(QLatin1Char('\\')))
        return QFileInfo(program).isFile();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

int startErrorCode(const QString& program, const QString& workingDirectory)
{
    if (!programExists(program)) return kFileNotFound;
    if (!workingDirectory.isEmpty() && !QFileInfo(workingDirectory).isDir()) return kPathNotFound;
    return kAccessDenied;  // there, but not a program this user may run
}

} // namespace

fw::ProcessStart QtProcessRunner::start(const std::string& program, const std::vector<std::string>& arguments,
                                        const std::string& workingDirectory)
{
    return startWithEnvironment(program, arguments, workingDirectory, {});
}

fw::ProcessStart QtProcessRunner::startWithEnvironment(const std::string& program,
                                                       const std::vector<std::string>& arguments,
                                                       const std::string& workingDirectory,
                                                       const fw::Environment& variables)
{
    const QString programName = QString::fromStdString(program);
    const QString folder = QString::fromStdString(workingDirectory);

    auto process = std::make_unique<QProcess>();
    process->setProgram(programName);
    setArguments(*process, arguments);
    process->setWorkingDirectory(folder);
    if (!variables.empty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : variables)
            environment.insert(QString::fromStdString(name), QString::fromStdString(value));
        process->setProcessEnvironment(environment);
    }
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    ProcessTree::prepare(*process);
    process->start(QIODevice::ReadOnly);

    fw::ProcessStart result;
    if (!process->waitForStarted(kStartTimeoutMs)) {
        result.errorCode = startErrorCode(programName, folder);
        return result;
    }
    result.process = std::make_unique<QtRunningProcess>(std::move(process));
    return result;
}

void QtProcessRunner::stopAll() { stopAllProcessTrees(); }

} // namespace fw::qt
