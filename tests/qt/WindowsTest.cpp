// The three windows as the technician meets them: captions, the menu, one
// fixed size, the tab order, the port list, and nothing hidden on show.
// Where each control sits and its font are the windows' own table and show
// in the screenshots; they are not copied here.

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

QString captionOf(QWidget* w)
{
    if (auto* b = qobject_cast<QPushButton*>(w)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    return {};
}

// Each control found by its name, with its caption; the window keeps one size.
void expectFixedWithCaptions(QWidget& window, const std::vector<std::pair<const char*, QString>>& controls)
{
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    for (const auto& [name, caption] : controls) {
        auto* w = window.findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(captionOf(w), caption) << name;
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

TEST(Windows, MainWindowStartsIdleWithItsCaptionsMenuAndTabOrder)
{
    Form2 form;
    form.show();
    EXPECT_EQ(form.windowTitle(), "Firmware Upgrade Tool 1.1.4");
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    expectFixedWithCaptions(form, {{"cmdTest", "Projector communication test"},
                                   {"Frame1", "Upgrade Projector Software"},
                                   {"txtTxtSourceFilePath", ""},
                                   {"lblSize", ""},
                                   {"Label1", "Bytes"},
                                   {"cmdOpenFile1", "Open File"},
                                   {"cmdUpgradeSW", "Upgrade SW"},
                                   {"lblFileCount", ""}});
    const QList<QAction*> items = form.menuBar()->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "&RS232");
    EXPECT_EQ(items[1]->text(), "&Exit");
    EXPECT_EQ(items[0]->menu(), nullptr);  // items that act at once, not menus
    EXPECT_EQ(items[1]->menu(), nullptr);

    for (QWidget* b : {form.cmdTest(), form.cmdOpenFile1(), form.cmdUpgradeSW()}) EXPECT_TRUE(b->isEnabled());
    EXPECT_FALSE(form.txtTxtSourceFilePath()->isEnabled());  // display only
    EXPECT_TRUE(form.ProgressBar1()->isVisible());
    EXPECT_EQ(form.ProgressBar1()->value(), 0);
    EXPECT_EQ(form.ProgressBar1()->maximum(), 100);
    EXPECT_EQ(form.findChild<QStatusBar*>(), nullptr);
    for (const char* hidden : {"Text2", "Frame5", "Option2", "cmdFlashSW2", "Label5", "StatusBar1"})
        EXPECT_EQ(form.findChild<QWidget*>(QString::fromLatin1(hidden)), nullptr) << hidden;
    EXPECT_EQ(tabCycle(form.cmdTest()), (std::vector<QString>{"cmdTest", "cmdOpenFile1", "cmdUpgradeSW"}));
}

TEST(Windows, ProcessingWindowIsMadeHiddenWithItsLabels)
{
    Form3 form;
    EXPECT_EQ(form.windowTitle(), "Kavora Firmware Upgrade Tool");
    EXPECT_FALSE(form.isVisible());
    expectFixedWithCaptions(form, {{"Label1", ""}, {"Label3", "Elapsed time:"}, {"Label2", ""}});
}

TEST(Windows, PortDialogOffersPortsOneTo255StartingAtOne)
{
    COM_Set dialog;
    EXPECT_EQ(dialog.windowTitle(), "RS232 Com Port");
    expectFixedWithCaptions(dialog, {{"RS232", "OK"}, {"Label8", "COM:"}});
    QComboBox* list = dialog.Combo_Com();
    EXPECT_TRUE(list->isEditable());
    ASSERT_EQ(list->count(), 255);
    for (int i = 0; i < list->count(); ++i) ASSERT_EQ(list->itemText(i), QString::number(i + 1));
    EXPECT_EQ(list->currentText(), "1");

    dialog.show();
    EXPECT_EQ(tabCycle(dialog.RS232()), (std::vector<QString>{"RS232", "Combo_Com", "lstDevices", "cmdRefresh"}));
}
