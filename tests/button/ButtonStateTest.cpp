#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QKeyEvent>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "ButtonTestSupport.h"
#include "EventLog.h"

using namespace buttontest;

namespace {

void key(QWidget* w, QEvent::Type type, int k, bool autoRepeat = false) {
    QKeyEvent e(type, k, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(w, &e);
}

}  // namespace

class ButtonState : public ::testing::Test {
  protected:
    Host host;
    ThemedButton* b = host.button;
    QSignalSpy clicks{b, &ThemedButton::Click};
    QSignalSpy enters{b, &ThemedButton::MouseEnter};
    QSignalSpy leaves{b, &ThemedButton::MouseLeave};
};

TEST_F(ButtonState, RunningControlHooksItsOwnWindow) {
    EXPECT_TRUE(b->IsHooked());
    ThemedButton designed;
    designed.SetUserMode(false);
    designed.InitProperties();
    EXPECT_FALSE(designed.IsHooked());
}

TEST_F(ButtonState, MouseComingInShowsHotOnce) {
    moveTo(b, {10, 10});
    moveTo(b, {12, 10});
    EXPECT_TRUE(b->MouseOverFlag());
    EXPECT_EQ(b->InteractionState(), 2);
    EXPECT_EQ(enters.count(), 1);
    leave(b);
    EXPECT_FALSE(b->MouseOverFlag());
    EXPECT_EQ(b->InteractionState(), 1);
    EXPECT_EQ(leaves.count(), 1);
}

TEST_F(ButtonState, ClickRaisesClickAndLeavesTheButtonHot) {
    click(b);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(b->InteractionState(), 2);
    EXPECT_EQ(b->LastMouseButton(), 1);
}

TEST_F(ButtonState, ATapWithoutMovementBeforeItIsAClick) {
    // A touchscreen tap or a pen: the pointer lands on the button and presses at once.
    press(b, {50, 15});
    release(b, {50, 15});
    QApplication::processEvents();
    EXPECT_EQ(clicks.count(), 1);
    // Through the window system as well, which may bring the enter on its own.
    QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    QApplication::processEvents();
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(ButtonState, PressMoveOutAndReleaseRaisesNoClick) {
    moveTo(b, {50, 15});
    press(b, {50, 15});
    EXPECT_EQ(b->InteractionState(), 3);
    moveTo(b, {150, 15}, Qt::LeftButton);  // the grab keeps sending us the moves
    release(b, {150, 15});
    QApplication::processEvents();
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(b->MouseOverFlag());
    EXPECT_EQ(b->InteractionState(), 1);
}

TEST_F(ButtonState, ReleaseOutsideWithoutAMoveRaisesNoClickEither) {
    moveTo(b, {50, 15});
    press(b, {50, 15});
    release(b, {-5, 15});
    QApplication::processEvents();
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(b->InteractionState(), 1);
}

TEST_F(ButtonState, ToggleGoesDownWithoutClickThenUpWithClick) {
    b->SetButtonType(1);
    click(b);
    EXPECT_TRUE(b->Value());
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(b->InteractionState(), 3);
    click(b);
    EXPECT_FALSE(b->Value());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(b->InteractionState(), 2);
}

TEST_F(ButtonState, ValueClearedFromCodeStaysDrawnPressed) {
    b->SetButtonType(1);
    b->SetValue(true);
    EXPECT_EQ(b->InteractionState(), 3);
    b->SetValue(false);
    EXPECT_EQ(b->InteractionState(), 3);
}

TEST_F(ButtonState, SpaceKeyClicks) {
    key(b, QEvent::KeyPress, Qt::Key_Space);
    EXPECT_EQ(b->InteractionState(), 3);
    key(b, QEvent::KeyRelease, Qt::Key_Space, true);  // auto-repeat is not a release
    EXPECT_EQ(clicks.count(), 0);
    key(b, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(b->InteractionState(), 1);
}

TEST_F(ButtonState, SpaceTogglesOnlyAfterALeftRelease) {
    b->SetButtonType(1);
    key(b, QEvent::KeyPress, Qt::Key_Space);
    key(b, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_FALSE(b->Value());  // no mouse button recorded yet
    EXPECT_EQ(clicks.count(), 1);
    click(b);  // down: Value true
    click(b);  // up again: Value false
    ASSERT_FALSE(b->Value());
    key(b, QEvent::KeyPress, Qt::Key_Space);
    key(b, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_TRUE(b->Value());
}

TEST_F(ButtonState, RightButtonOnlyRecordsTheButton) {
    moveTo(b, {50, 15});
    const int stateBefore = b->InteractionState();
    press(b, {50, 15}, Qt::RightButton);
    release(b, {50, 15}, Qt::RightButton);
    EXPECT_EQ(b->LastMouseButton(), 2);
    EXPECT_EQ(b->InteractionState(), stateBefore);
    doubleClick(b, {50, 15}, Qt::LeftButton);  // follows a right release: nothing
    EXPECT_EQ(b->InteractionState(), stateBefore);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ButtonState, DoubleClickCountsAsASecondClick) {
    b->SetButtonType(1);
    click(b);  // toggle down
    ASSERT_TRUE(b->Value());
    doubleClick(b, {50, 15});
    EXPECT_EQ(b->InteractionState(), 3);
    release(b, {50, 15});
    QApplication::processEvents();
    // The release raises Click, but no framework click follows a double click's release,
    // so the toggle keeps its value.
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(b->Value());
}

TEST_F(ButtonState, ArrowKeysMoveTheFocus) {
    auto* next = new ThemedButton(&host.window);
    next->setGeometry(120, 10, 60, 30);
    next->InitProperties();
    next->show();
    QApplication::setActiveWindow(&host.window);
    b->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(b->hasFocus());
    EXPECT_TRUE(b->HasFocusFlag());
    key(b, QEvent::KeyPress, Qt::Key_Right);
    EXPECT_TRUE(next->hasFocus());
    EXPECT_FALSE(b->HasFocusFlag());
    key(next, QEvent::KeyPress, Qt::Key_Up);
    EXPECT_TRUE(b->hasFocus());
    key(b, QEvent::KeyPress, Qt::Key_Down);
    EXPECT_TRUE(next->hasFocus());
    key(next, QEvent::KeyPress, Qt::Key_Left);
    EXPECT_TRUE(b->hasFocus());
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ButtonState, OtherKeysGoOnToTheWindow) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(b, &escape);
    EXPECT_FALSE(escape.isAccepted());
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(b, &space);
    EXPECT_TRUE(space.isAccepted());
}

TEST_F(ButtonState, TabRaisesMouseLeave) {
    key(b, QEvent::KeyPress, Qt::Key_Tab);
    EXPECT_EQ(leaves.count(), 1);
}

TEST_F(ButtonState, DisabledButtonIsDrawnInState4) {
    b->SetEnabled(false);
    EXPECT_EQ(b->InteractionState(), 4);
    EXPECT_FALSE(b->isEnabled());
    b->SetEnabled(true);
    EXPECT_EQ(b->InteractionState(), 1);
}

TEST_F(ButtonState, DesignerDrawsEveryStyleButFiveHot) {
    b->SetUserMode(false);
    EXPECT_EQ(b->InteractionState(), 2);
    b->SetStyle(5);
    b->SetEnabled(true);
    EXPECT_EQ(b->InteractionState(), 1);
}

TEST_F(ButtonState, HiddenButtonGivesTheHostItsTooltipBack) {
    b->SetToolTipText("Salva il testo");
    EXPECT_EQ(b->ToolTipText(), "Salva il testo");
    moveTo(b, {5, 5});
    b->hide();
    EXPECT_FALSE(b->ShownFlag());
    EXPECT_EQ(b->toolTip(), "Salva il testo");
}

TEST(ButtonLifetime, DestroyingAHookedButtonLogsNothing) {
    QStringList lines;
    auto previous = tessaro::hook::setErrorSink([&](const QString& l) { lines << l; });
    {
        Host host;
        moveTo(host.button, {5, 5});
    }
    QApplication::processEvents();
    tessaro::hook::setErrorSink(previous);
    EXPECT_TRUE(lines.isEmpty()) << lines.join("\n").toStdString();
}

TEST(ButtonAbout, AboutWindowFloatsAndAClickHidesIt) {
    Host host;
    host.button->About();
    QWidget* about = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->windowTitle() == "About ThemedButton 3.7.0")
            about = w;
    }
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(about->windowFlags() & Qt::WindowStaysOnTopHint);
    press(about, {10, 10});
    release(about, {10, 10});
    EXPECT_FALSE(about->isVisible());
}

TEST_F(ButtonState, AccessKeyClicksWithoutThePointer) {
    b->SetButtonType(1);
    b->SetCaption("&Vai");
    auto* shortcut = b->findChild<QShortcut*>();
    ASSERT_NE(shortcut, nullptr);
    EXPECT_EQ(shortcut->key(), QKeySequence(Qt::ALT | Qt::Key_V));
    emit shortcut->activated();
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(b->LastMouseButton(), 1);
    EXPECT_TRUE(b->Value());  // the click action ran with the left button recorded
    b->SetCaption("Vai");
    EXPECT_EQ(b->findChild<QShortcut*>(), nullptr);
}

namespace {

class LinkCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

}  // namespace

TEST(ButtonLink, OpenLinkHandsTheLinkToTheDesktop) {
    LinkCatcher catcher;
    QDesktopServices::setUrlHandler("velmora", &catcher, "open");
    ThemedButton b;
    EXPECT_EQ(b.OpenLink("velmora:tessaro"), 33);
    QDesktopServices::unsetUrlHandler("velmora");
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0], QUrl("velmora:tessaro"));
}

#include "ButtonStateTest.moc"
