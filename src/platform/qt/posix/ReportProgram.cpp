// fwupgrade runs in terminals and over ssh where no display is: the report
// needs fonts, not a screen.
#include "qt/ReportProgram.h"

#include <QByteArray>
#include <QtGlobal>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace fw::qt {

namespace {
// Far above what a report holds at once (some tens of MB): nothing goes back early.
constexpr int kKeptBytes = 256 << 20;
constexpr int kHeapStepBytes = 64 << 20;
} // namespace

void drawWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

void keepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, kKeptBytes);
    mallopt(M_MMAP_THRESHOLD, kKeptBytes);
    mallopt(M_TOP_PAD, kHeapStepBytes);
#endif
}

} // namespace fw::qt
