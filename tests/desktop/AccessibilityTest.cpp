#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "PanelFrame.h"
#include "ThemedButton.h"
#include "ThemedButtonAccessible.h"

namespace {

// A shown window with one running button and one frame.
class Accessibility : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(400, 300);
        frame = new PanelFrame(&window);
        frame->setGeometry(10, 60, 300, 200);
        button = new ThemedButton(&window);
        button->setGeometry(10, 10, 100, 30);
        button->InitProperties();
        window.show();
        QApplication::processEvents();
        ASSERT_NE(of(button), nullptr);
        ASSERT_NE(of(frame), nullptr);
    }

    static QAccessibleInterface* of(QObject* object) {
        return QAccessible::queryAccessibleInterface(object);
    }

    void mouse(QEvent::Type type, Qt::MouseButtons buttons) {
        const QPoint at(50, 15);
        QMouseEvent e(type, QPointF(at), QPointF(button->mapToGlobal(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(button, &e);
    }
    void mouseClick() {
        mouse(QEvent::MouseMove, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, Qt::NoButton);
        QApplication::processEvents();
    }

    QWidget window;
    PanelFrame* frame = nullptr;
    ThemedButton* button = nullptr;
};

}  // namespace

TEST_F(Accessibility, AButtonReadsAsAPushButtonNamedByItsCaption) {
    button->SetCaption("&Salva && chiudi");
    button->SetToolTipText("Salva le impostazioni");
    QAccessibleInterface* i = of(button);
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->role(), QAccessible::Button);
    EXPECT_EQ(i->text(QAccessible::Name), "Salva & chiudi");
    EXPECT_EQ(i->text(QAccessible::Description), "Salva le impostazioni");
    EXPECT_EQ(i->text(QAccessible::Accelerator), QKeySequence("Alt+S").toString());

    // An icon-only button is named by its tooltip; a name set for assistive technology wins.
    button->SetCaption("");
    EXPECT_EQ(i->text(QAccessible::Name), "Salva le impostazioni");
    button->SetToolTipTitle("Salva");
    EXPECT_EQ(i->text(QAccessible::Name), "Salva");
    button->setAccessibleName("Conferma");
    EXPECT_EQ(i->text(QAccessible::Name), "Conferma");

    EXPECT_EQ(ThemedButtonAccessible::SpokenCaption("Apri\r\nfile&"), "Apri file");
    EXPECT_EQ(ThemedButtonAccessible::SpokenCaption("a&&&b\rc\nd"), "a&b c d");
}

TEST_F(Accessibility, AButtonReportsPressedFocusedDisabledAndChecked) {
    QAccessibleInterface* i = of(button);
    ASSERT_NE(i, nullptr);
    EXPECT_FALSE(i->state().pressed);
    EXPECT_FALSE(i->state().checkable);
    mouse(QEvent::MouseMove, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_TRUE(i->state().pressed);
    mouse(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_FALSE(i->state().pressed);

    QApplication::setActiveWindow(&window);
    button->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(button->hasFocus());
    EXPECT_TRUE(i->state().focused);

    button->SetButtonType(1);
    EXPECT_TRUE(i->state().checkable);
    EXPECT_FALSE(i->state().checked);
    button->SetValue(true);
    EXPECT_TRUE(i->state().checked);

    button->SetEnabled(false);
    EXPECT_TRUE(i->state().disabled);
    EXPECT_FALSE(
        i->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    button->SetEnabled(true);
    EXPECT_FALSE(i->state().disabled);
}

TEST_F(Accessibility, ThePressActionClicksAsTheMouseDoes) {
    int clicks = 0;
    QObject::connect(button, &ThemedButton::Click, [&] { ++clicks; });
    mouseClick();
    EXPECT_EQ(clicks, 1);

    QAccessibleActionInterface* a = of(button)->actionInterface();
    ASSERT_NE(a, nullptr);
    ASSERT_TRUE(a->actionNames().contains(QAccessibleActionInterface::pressAction()));
    a->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(of(button)->state().pressed);  // back up, as after the mouse's click

    // A toggle: the press action flips Value each time, as clicking does.
    button->SetButtonType(1);
    ASSERT_TRUE(a->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    a->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(button->Value());
    EXPECT_TRUE(of(button)->state().checked);
    a->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(button->Value());
    EXPECT_EQ(clicks, 4);
    mouseClick();
    EXPECT_TRUE(button->Value());  // the mouse and the action agree on the toggle's state

    // A disabled button cannot be pressed by any means.
    button->SetEnabled(false);
    a->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(button->Value());
}

TEST_F(Accessibility, AFrameIsAGroupingThatShowsWhetherItIsCollapsed) {
    frame->setHeaderText("Dimensioni");
    QAccessibleInterface* i = of(frame);
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->role(), QAccessible::Grouping);
    EXPECT_EQ(i->text(QAccessible::Name), "Dimensioni");
    frame->setHeaderText("Qualità");
    EXPECT_EQ(i->text(QAccessible::Name), "Qualità");

    EXPECT_TRUE(i->state().expanded);
    EXPECT_FALSE(i->state().collapsed);
    EXPECT_FALSE(i->state().expandable);
    EXPECT_FALSE(
        i->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    frame->Collapse();
    QApplication::processEvents();
    EXPECT_TRUE(i->state().collapsed);
    EXPECT_FALSE(i->state().expanded);

    // An expandable frame can be opened and closed through its toggle action.
    frame->setExpandable(true);  // which counts the frame as expanded again
    EXPECT_TRUE(i->state().expandable);
    EXPECT_TRUE(i->state().expanded);
    i->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(frame->isCollapsed());
    EXPECT_TRUE(i->state().collapsed);
    i->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(frame->isCollapsed());
    EXPECT_TRUE(i->state().expanded);

    // A disabled frame stays enabled as a widget but reads as disabled.
    frame->setEnabled(false);
    EXPECT_TRUE(i->state().disabled);
    i->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(frame->isCollapsed());
}
