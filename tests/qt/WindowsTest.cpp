// The three windows as drawn: captions, control names, positions and sizes
// converted from twips, fonts, tab order, and nothing hidden on show.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "qt/ComSet.h"
#include "qt/Form2.h"
#include "qt/Form3.h"

using fw::qt::COM_Set;
using fw::qt::Form2;
using fw::qt::Form3;

namespace {

struct Placed {
    const char* name;
    QRect pixels;  // the twips divided by 15
    QString caption;
};

QString captionOf(QWidget* w)
{
    if (auto* b = qobject_cast<QPushButton*>(w)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    return {};
}

void expectPlaced(QWidget& window, const std::vector<Placed>& controls)
{
    for (const Placed& c : controls) {
        auto* w = window.findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(w->geometry(), c.pixels) << c.name;
        EXPECT_EQ(captionOf(w), c.caption) << c.name;
    }
}

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

TEST(MainWindowLayout, ControlsSitWhereTheyWereDrawnWithTheirCaptions)
{
    Form2 form;
    expectPlaced(form, {
                           {"cmdTest", {8, 32, 185, 73}, "Projector communication test"},
                           {"Frame1", {208, 8, 441, 129}, "Upgrade Projector Software"},
                           {"txtTxtSourceFilePath", {16, 24, 297, 27}, ""},
                           {"lblSize", {320, 28, 57, 17}, ""},
                           {"Label1", {390, 28, 33, 17}, "Bytes"},
                           {"ProgressBar1", {16, 64, 297, 17}, ""},
                           {"cmdOpenFile1", {16, 88, 81, 33}, "Open File"},
                           {"cmdUpgradeSW", {104, 88, 113, 33}, "Upgrade SW"},
                           {"lblFileCount", {294, 94, 131, 21}, ""},
                       });
    // Controls of the frame are placed inside it.
    for (const char* name : {"txtTxtSourceFilePath", "lblSize", "ProgressBar1", "cmdOpenFile1", "cmdUpgradeSW"})
        EXPECT_EQ(form.findChild<QWidget*>(QString::fromLatin1(name))->parentWidget(), form.Frame1()) << name;
}

TEST(MainWindowLayout, OneFixedSizeAtItsPlaceWithTitleMenuAndFonts)
{
    Form2 form;
    form.show();
    EXPECT_EQ(form.windowTitle(), "Firmware Upgrade Tool 1.1.4");
    EXPECT_EQ(form.centralWidget()->size(), QSize(659, 153));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form.pos(), QPoint(202, 195));

    const QList<QAction*> items = form.menuBar()->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "&RS232");
    EXPECT_EQ(items[0]->objectName(), "RS_232");
    EXPECT_EQ(items[1]->text(), "&Exit");
    EXPECT_EQ(items[1]->objectName(), "pExit");
    EXPECT_EQ(items[0]->menu(), nullptr);
    EXPECT_EQ(items[1]->menu(), nullptr);

    EXPECT_EQ(form.font().family(), "Arial");
    EXPECT_DOUBLE_EQ(form.font().pointSizeF(), 8.25);
    EXPECT_EQ(form.txtTxtSourceFilePath()->font().family(), "MS Sans Serif");
}

TEST(MainWindowLayout, StartsIdleWithTheHiddenControlsNowhereOnScreen)
{
    Form2 form;
    form.show();
    for (QWidget* b : {static_cast<QWidget*>(form.cmdTest()), static_cast<QWidget*>(form.cmdOpenFile1()),
                       static_cast<QWidget*>(form.cmdUpgradeSW())})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_TRUE(form.RS_232()->isEnabled());
    EXPECT_TRUE(form.pExit()->isEnabled());
    EXPECT_FALSE(form.txtTxtSourceFilePath()->isEnabled());  // display only
    EXPECT_TRUE(form.ProgressBar1()->isVisible());
    EXPECT_EQ(form.ProgressBar1()->minimum(), 0);
    EXPECT_EQ(form.ProgressBar1()->maximum(), 100);
    EXPECT_EQ(form.ProgressBar1()->value(), 0);

    EXPECT_EQ(form.findChild<QStatusBar*>(), nullptr);
    for (const char* hidden : {"Text2", "Frame5", "Option2", "cmdFlashSW2", "Label5", "StatusBar1"})
        EXPECT_EQ(form.findChild<QWidget*>(QString::fromLatin1(hidden)), nullptr) << hidden;
}

TEST(MainWindowLayout, TabGoesFromTheTestButtonToOpenFileToUpgrade)
{
    Form2 form;
    form.show();
    EXPECT_EQ(tabCycle(form.cmdTest()), (std::vector<QString>{"cmdTest", "cmdOpenFile1", "cmdUpgradeSW"}));
}

TEST(ProcessingWindowLayout, TitleSizeAndLargeLabels)
{
    Form3 form;
    EXPECT_EQ(form.windowTitle(), "Kavora Firmware Upgrade Tool");
    EXPECT_EQ(form.size(), QSize(379, 155));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.isVisible());
    expectPlaced(form, {
                           {"Label1", {16, 32, 353, 65}, ""},
                           {"Label3", {8, 112, 169, 33}, "Elapsed time:"},
                           {"Label2", {192, 112, 145, 33}, ""},
                       });
    for (const char* name : {"Label1", "Label2", "Label3"}) {
        const QFont f = form.findChild<QLabel*>(QString::fromLatin1(name))->font();
        EXPECT_EQ(f.family(), "Arial") << name;
        EXPECT_DOUBLE_EQ(f.pointSizeF(), 18) << name;
    }
}

TEST(PortDialogLayout, ListOfPortsOneTo255StartingAtOne)
{
    COM_Set dialog;
    EXPECT_EQ(dialog.windowTitle(), "RS232 Com Port");
    EXPECT_EQ(dialog.size(), QSize(600, 304));  // grown below the original 214 x 108 for the device list
    EXPECT_EQ(dialog.pos(), QPoint(300, 275));
    EXPECT_FALSE(dialog.isModal());
    expectPlaced(dialog, {
                             {"RS232", {120, 56, 81, 41}, "OK"},
                             {"Label8", {16, 16, 73, 17}, "COM:"},
                         });
    QComboBox* list = dialog.Combo_Com();
    EXPECT_EQ(list->geometry().topLeft(), QPoint(104, 16));
    EXPECT_EQ(list->width(), 89);
    EXPECT_TRUE(list->isEditable());
    ASSERT_EQ(list->count(), 255);
    EXPECT_EQ(list->itemText(0), "1");
    EXPECT_EQ(list->itemText(6), "7");
    EXPECT_EQ(list->itemText(254), "255");
    EXPECT_EQ(list->currentText(), "1");

    const QFont label = dialog.findChild<QLabel*>("Label8")->font();
    EXPECT_EQ(label.family(), "Arial");
    EXPECT_DOUBLE_EQ(label.pointSizeF(), 9.75);
    EXPECT_TRUE(label.bold());

    dialog.show();
    EXPECT_EQ(tabCycle(dialog.RS232()), (std::vector<QString>{"RS232", "Combo_Com", "lstDevices", "cmdRefresh"}));
}
