// The windows as the technician meets them where a mistake would show: one
// fixed size, a menu whose items act at once, and the order Tab visits the
// controls. Captions, positions, fonts and the port list's numbers are the
// windows' own table and show in the screenshots; they are not copied here.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>

#include "qt/ComSet.h"
#include "qt/Form2.h"

using fw::qt::COM_Set;
using fw::qt::Form2;

namespace {

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
