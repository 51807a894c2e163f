#include "qt/OpenFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "qt/FileDialogFilter.h"
#include "qt/Text8.h"

namespace fw::qt {

namespace {

void startAt(QFileDialog& dialog, const std::string& startLocation)
{
    if (startLocation.empty()) return;
    const QFileInfo start(QDir::fromNativeSeparators(toQt(startLocation)));
    if (start.isDir()) {
        dialog.setDirectory(start.absoluteFilePath());
        return;
    }
    // A remembered file that has since gone still names the folder to start in.
    if (start.absoluteDir().exists()) dialog.setDirectory(start.absolutePath());
    dialog.selectFile(start.fileName());
}

} // namespace

std::string runOpenFileDialog(QWidget* parent, const std::string& startLocation)
{
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);  // file and folder must exist
    dialog.setNameFilters(qtNameFilters(parseFilter(kListFileFilter)));
    startAt(dialog, startLocation);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return startLocation;
    const QString chosen = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    return fromQt(chosen);
}

} // namespace fw::qt
