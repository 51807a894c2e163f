#include "qt/Form2.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>

#include "qt/Fonts.h"
#include "qt/Twips.h"
#include "ground/Texts.h"
#include "window/MainWindow.h"

namespace fw::qt {

namespace {

template <typename W>
W* place(W* widget, const char* name, QRect where)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(where);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect where)
{
    auto* l = place(new QLabel(text, parent), name, where);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setWordWrap(true);
    return l;
}

} // namespace

Form2::Form2(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromLatin1(fw::texts::ProgramTitle) + QLatin1Char(' ') + QString::fromLatin1(fw::texts::ProgramVersion));
    setFont(arialFont(kWindowFontPoints));
    // One size, no maximise: nothing here is laid out for another.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    buildMenu();

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twipsSize(9885, 2295));
    setCentralWidget(client);

    cmdTest_ = place(new QPushButton(QStringLiteral("Projector communication test"), client), "cmdTest",
                     twipsRect(120, 480, 2775, 1095));
    buildFrame(client);

    setTabOrder(cmdTest_, cmdOpenFile1_);
    setTabOrder(cmdOpenFile1_, cmdUpgradeSW_);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    move(twipsPoint(3030, 2925));
}

void Form2::buildMenu()
{
    RS_232_ = menuBar()->addAction(QStringLiteral("&RS232"));
    RS_232_->setObjectName(QStringLiteral("RS_232"));
    pExit_ = menuBar()->addAction(QStringLiteral("&Exit"));
    pExit_->setObjectName(QStringLiteral("pExit"));
    History_ = menuBar()->addAction(QString::fromUtf8(fw::texts::report::HistoryMenu));
    History_->setObjectName(QStringLiteral("History"));
    mnuVenue_ = menuBar()->addAction(QStringLiteral("&Venue"));
    mnuVenue_->setObjectName(QStringLiteral("mnuVenue"));
}

void Form2::buildFrame(QWidget* client)
{
    QGroupBox* const Frame1 = place(new QGroupBox(QStringLiteral("Upgrade Projector Software"), client), "Frame1",
                                    twipsRect(3120, 120, 6615, 1935));

    // Display only: the path comes from the file dialog or the settings.
    txtTxtSourceFilePath_ = place(new QLineEdit(Frame1), "txtTxtSourceFilePath", twipsRect(240, 360, 4455, 405));
    txtTxtSourceFilePath_->setFont(msSansSerifFont());
    txtTxtSourceFilePath_->setEnabled(false);

    lblSize_ = label(Frame1, "lblSize", QString(), twipsRect(4800, 420, 855, 255));
    label(Frame1, "Label1", QStringLiteral("Bytes"), twipsRect(5850, 420, 495, 255));

    ProgressBar1_ = place(new QProgressBar(Frame1), "ProgressBar1", twipsRect(240, 960, 4455, 255));
    ProgressBar1_->setRange(0, 100);
    ProgressBar1_->setValue(0);
    ProgressBar1_->setTextVisible(false);

    cmdOpenFile1_ = place(new QPushButton(QStringLiteral("Open File"), Frame1), "cmdOpenFile1",
                          twipsRect(240, 1320, 1215, 495));
    cmdUpgradeSW_ = place(new QPushButton(QStringLiteral("Upgrade SW"), Frame1), "cmdUpgradeSW",
                          twipsRect(1560, 1320, 1695, 495));
    lblFileCount_ = label(Frame1, "lblFileCount", QString(), twipsRect(4410, 1410, 1965, 315));
}

void Form2::closeEvent(QCloseEvent* event)
{
    if (closeGuard && closeGuard()) {
        event->ignore();
        return;
    }
    event->accept();
    if (closed) closed();
}

} // namespace fw::qt
