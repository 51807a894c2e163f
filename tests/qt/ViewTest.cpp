// The windows and the view on the real widgets: what each call of the logic
// does to them, the message boxes and the file dialog as the technician meets
// them; and where a mistake would show in the windows themselves: one fixed
// size, a menu whose items act at once, and the order Tab visits the
// controls. Captions, positions, fonts and the port list's numbers are the
// windows' own table and show in the screenshots; they are not copied here.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <functional>

#include "ModalAnswerer.h"
#include "TempFolder.h"
#include "ground/FilePath.h"
#include "qt/QtView.h"

using fw::Answer;
using fw::Caption;
using fw::Control;
using fw::MessageStyle;
using fw::qt::COM_Set;
using fw::qt::Form2;
using fw::qt::Form3;
using fw::qt::QtView;

namespace {

struct ViewOnWidgets : ::testing::Test {
    Form2 form2;
    Form3 form3;
    QtView view{form2, form3};
    ModalAnswerer technician;
    void SetUp() override { form2.show(); }
};

// The widgets Tab visits from `from`, in order, until it comes back.
std::vector<QString> tabCycle(QWidget* from)
{
    std::vector<QString> order{from->objectName()};
    for (QWidget* w = from->nextInFocusChain(); w != from; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(w->window()) &&
            !w->focusProxy() && w->window() == from->window())
            order.push_back(w->objectName());
    return order;
}

} // namespace

TEST_F(ViewOnWidgets, EnabledStatesReachTheNamedControls)
{
    const std::pair<Control, std::function<bool()>> shown[] = {
        {Control::cmdUpgradeSW, [&] { return form2.cmdUpgradeSW()->isEnabled(); }},
        {Control::cmdOpenFile1, [&] { return form2.cmdOpenFile1()->isEnabled(); }},
        {Control::cmdTest, [&] { return form2.cmdTest()->isEnabled(); }},
        {Control::RS_232, [&] { return form2.RS_232()->isEnabled(); }},
        {Control::pExit, [&] { return form2.pExit()->isEnabled(); }},
    };
    for (const auto& [control, enabled] : shown) view.setEnabled(control, false);
    for (const auto& [control, enabled] : shown) {  // each one on in turn leaves the ones after it off
        EXPECT_FALSE(enabled()) << int(control);
        view.setEnabled(control, true);
        EXPECT_TRUE(enabled()) << int(control);
    }
}

// The elapsed-time label is pinned with the session's one-second clock.
TEST_F(ViewOnWidgets, CaptionsLandInTheirWidgetsAndLabel5IsNeverShown)
{
    view.setCaption(Caption::WindowTitle, "Title set by the logic");  // not the one the window starts with
    view.setCaption(Caption::txtTxtSourceFilePath, "/srv/Prüfung/QT2416 ä.txt");  // folder names are not ASCII
    view.setCaption(Caption::lblSize, "262144");
    view.setCaption(Caption::lblFileCount, "Downloading file 1 of 2");
    view.setCaption(Caption::Form3Label1, "Downloading");
    view.setCaption(Caption::Label5, "Command: 0503 0000 fafd");

    EXPECT_EQ(form2.windowTitle(), "Title set by the logic");
    EXPECT_EQ(form2.txtTxtSourceFilePath()->text(), QString::fromUtf8("/srv/Prüfung/QT2416 ä.txt"));
    EXPECT_EQ(form2.lblSize()->text(), "262144");
    EXPECT_EQ(form2.lblFileCount()->text(), "Downloading file 1 of 2");
    EXPECT_EQ(form3.Label1()->text(), "Downloading");
    EXPECT_EQ(view.label5(), "Command: 0503 0000 fafd");
    for (QLabel* l : form2.findChildren<QLabel*>()) EXPECT_NE(l->text(), "Command: 0503 0000 fafd");
}

TEST_F(ViewOnWidgets, ProgressShowsWholePercentWithinTheBar)
{
    const std::pair<double, int> shown[] = {{40.4, 40}, {99.6, 100}, {0.390625, 0}, {250, 100}, {-3, 0}};
    for (const auto& [percent, value] : shown) {
        view.setProgressValue(percent);
        EXPECT_EQ(form2.ProgressBar1()->value(), value) << percent;
    }
    view.setProgressVisible(false);
    EXPECT_FALSE(form2.ProgressBar1()->isVisible());
    view.setProgressVisible(true);
    EXPECT_TRUE(form2.ProgressBar1()->isVisible());
}

TEST_F(ViewOnWidgets, HourglassOnBothWindowsAndBackToNormal)
{
    view.setBusyPointer(true);
    EXPECT_EQ(form2.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(form3.cursor().shape(), Qt::WaitCursor);
    view.setBusyPointer(false);
    EXPECT_EQ(form2.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ViewOnWidgets, ProcessingWindowStaysOnTopWhileTheToolRunsAndStaysShown)
{
    view.setProcessingWindowTopmost(true);
    view.setProcessingWindowVisible(true);
    EXPECT_TRUE(form3.isVisible());
    EXPECT_TRUE(form3.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    view.setProcessingWindowTopmost(false);
    EXPECT_TRUE(form3.isVisible());  // a flag change must not hide it
    EXPECT_FALSE(form3.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    view.setProcessingWindowVisible(false);
    EXPECT_FALSE(form3.isVisible());
}

TEST_F(ViewOnWidgets, MessageBoxesCarryTheTitleIconButtonsAndTextOfTheirStyle)
{
    const struct {
        MessageStyle style;
        QMessageBox::StandardButton press;
        Answer answer;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    } cases[] = {
        {MessageStyle::Critical, ModalAnswerer::kUnscripted, Answer::Ok, QMessageBox::Critical, QMessageBox::Ok},
        {MessageStyle::Information, ModalAnswerer::kUnscripted, Answer::Ok, QMessageBox::Information, QMessageBox::Ok},
        {MessageStyle::Question, QMessageBox::Yes, Answer::Yes, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No},
        {MessageStyle::Question, ModalAnswerer::kUnscripted, Answer::No, QMessageBox::Question,
         QMessageBox::Yes | QMessageBox::No},
        {MessageStyle::Question, ModalAnswerer::kEscape, Answer::No, QMessageBox::Question,
         QMessageBox::Yes | QMessageBox::No},
    };
    const std::string text = "<b>C:\\fw\\list.txt</b> is shown as written";
    for (const auto& c : cases) {
        const std::size_t before = technician.boxes().size();
        if (c.press != ModalAnswerer::kUnscripted) technician.answerNext(c.press);
        EXPECT_EQ(view.showMessage(text, c.style), c.answer) << int(c.style) << ' ' << c.press;
        ASSERT_EQ(technician.boxes().size(), before + 1);
        const auto& box = technician.boxes().back();
        EXPECT_EQ(box.title, "Firmware Upgrade Tool");
        EXPECT_EQ(box.text, QString::fromStdString(text));
        EXPECT_EQ(box.format, Qt::PlainText);
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_EQ(box.buttons, c.buttons);
        if (c.style == MessageStyle::Question) {
            EXPECT_EQ(box.defaultButton, QMessageBox::No);
        }
    }
}

// Its OK reaching the handler is pinned with the whole session.
TEST_F(ViewOnWidgets, PortDialogIsModelessAndClosingItDiscardsWhatWasTyped)
{
    view.setPortListText("3");  // as the settings put it
    view.showPortDialog();
    COM_Set* dialog = view.portDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_TRUE(form2.isEnabled());  // the main window stays usable

    dialog->Combo_Com()->setEditText("12");
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(view.portListText(), "3");
    view.showPortDialog();
    EXPECT_EQ(view.portDialog(), dialog);
}

TEST_F(ViewOnWidgets, FileDialogOffersTextAndAllFilesStartsAtTheRememberedFileAndCancelKeepsIt)
{
    fw::sim::TempFolder temp;
    const std::string folder = temp.file("Prüfung ä Пакет");  // a technician's folder names are not ASCII
    std::filesystem::create_directory(fw::filePath(folder));
    const std::string remembered = fw::pathText(fw::filePath(folder + "/QT2416.txt").make_preferred());
    const std::string other = fw::pathText(fw::filePath(folder + "/Liste ö.txt").make_preferred());
    std::ofstream(fw::filePath(remembered)) << "[uP]\r\n";
    std::ofstream(fw::filePath(other)) << "[uP]\r\n";

    technician.chooseFileNext(QString::fromStdString(other));
    EXPECT_EQ(view.openFileDialog(remembered), other);
    ASSERT_EQ(technician.fileDialogs().size(), 1u);
    const auto& seen = technician.fileDialogs()[0];
    EXPECT_EQ(seen.nameFilters, (QStringList{"Txt Files (*.txt)", "(*.*)"}));
    EXPECT_EQ(seen.selectedNameFilter, "Txt Files (*.txt)");
    EXPECT_EQ(seen.directory, QDir::fromNativeSeparators(QString::fromStdString(folder)));
    EXPECT_EQ(seen.preselected, QStringList{QDir::fromNativeSeparators(QString::fromStdString(remembered))});

    // Cancelled: the name it started with comes back, even of a file since deleted.
    const std::string gone = folder + "/deleted.txt";
    technician.chooseFileNext("");
    EXPECT_EQ(view.openFileDialog(gone), gone);
    ASSERT_EQ(technician.fileDialogs().size(), 2u);
    EXPECT_EQ(technician.fileDialogs()[1].directory, QDir::fromNativeSeparators(QString::fromStdString(folder)));
}

TEST(Windows, MainWindowKeepsOneSizeAndItsMenuItemsActAtOnceWithTheVenueLast)
{
    Form2 form;
    form.show();
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    // "RS232" and "Exit" first and in that order; the service record's history after them.
    const QList<QAction*> items = form.menuBar()->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0], form.RS_232());
    EXPECT_EQ(items[1], form.pExit());
    EXPECT_EQ(items[2], form.History());
    EXPECT_EQ(items[2]->text(), "&History");
    EXPECT_EQ(items[3], form.mnuVenue());  // the venue window's, after the others
    for (QAction* item : items) EXPECT_EQ(item->menu(), nullptr);  // items that act at once, not menus
    EXPECT_EQ(tabCycle(form.cmdTest()), (std::vector<QString>{"cmdTest", "cmdOpenFile1", "cmdUpgradeSW"}));
}

TEST(Windows, PortDialogTakesATypedNumberAndTabsFromOk)
{
    COM_Set dialog;
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_TRUE(dialog.Combo_Com()->isEditable());
    dialog.show();
    EXPECT_EQ(tabCycle(dialog.RS232()), (std::vector<QString>{"RS232", "Combo_Com", "txtDevice", "lstDevices", "cmdRefresh"}));
}
