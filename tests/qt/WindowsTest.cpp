// The three windows as drawn: captions, control names, window sizes, fonts,
// tab order, and nothing hidden on show. Where each control sits is the
// windows' own table and shows in the screenshots; it is not copied here.

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

struct Named {
    const char* name;
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

void expectNamed(QWidget& window, const std::vector<Named>& controls)
{
    for (const Named& c : controls) {
        auto* w = window.findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(w, nullptr) << c.name;
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

TEST(MainWindowLayout, ControlsCarryTheirNamesAndCaptions)
{
    Form2 form;
    expectNamed(form, {
                           {"cmdTest", "Projector communication test"},
                           {"Frame1", "Upgrade Projector Software"},
                           {"txtTxtSourceFilePath", ""},
                           {"lblSize", ""},
                           {"Label1", "Bytes"},
                           {"ProgressBar1", ""},
                           {"cmdOpenFile1", "Open File"},
                           {"cmdUpgradeSW", "Upgrade SW"},
                           {"lblFileCount", ""},
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
    expectNamed(form, {
                           {"Label1", ""},
                           {"Label3", "Elapsed time:"},
                           {"Label2", ""},
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
    expectNamed(dialog, {
                             {"RS232", "OK"},
                             {"Label8", "COM:"},
                         });
    QComboBox* list = dialog.Combo_Com();
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
