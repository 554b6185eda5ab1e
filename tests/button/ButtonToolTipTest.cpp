#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QToolTip>
#include <QtMath>

#include "ButtonTestSupport.h"
#include "PropertyBag.h"
#include "TestPaths.h"
#include "ToolTipWindow.h"

using namespace buttontest;
using tessaro::button::ToolTipWindow;

namespace {

bool waitUntil(const std::function<bool()>& done, int ms = 4000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

class ButtonToolTip : public ::testing::Test {
  protected:
    void enter(QPoint at = {50, 15}) { moveTo(b, at); }
    ToolTipWindow* tip() { return b->toolTipWindow(); }

    Host host;
    ThemedButton* b = host.button;
};

}  // namespace

TEST_F(ButtonToolTip, EnterCreatesLeaveDestroysAndTheHostGetsItsTextBack) {
    b->setToolTip("Salva il testo");  // the host's own tooltip text
    EXPECT_EQ(tip(), nullptr);
    enter();
    ASSERT_NE(tip(), nullptr);
    EXPECT_EQ(b->ToolTipText(), "Salva il testo");
    EXPECT_EQ(b->toolTip(), "");  // only our tooltip may show
    EXPECT_EQ(tip()->tool().text, "Salva il testo");
    EXPECT_EQ(tip()->tool().flags, tessaro::button::TTF_SUBCLASS);
    EXPECT_EQ(tip()->tool().owner, b);
    EXPECT_TRUE(tip()->isBalloon());
    EXPECT_EQ(tip()->windowStyle(), 0x43u);
    EXPECT_TRUE(tip()->isWindow());
    QPointer<ToolTipWindow> first = tip();
    leave(b);
    EXPECT_EQ(first, nullptr);  // destroyed
    EXPECT_EQ(tip(), nullptr);
    EXPECT_EQ(b->toolTip(), "Salva il testo");
    b->SetToolTipType(0);
    enter();
    ASSERT_NE(tip(), nullptr);
    EXPECT_EQ(tip()->windowStyle(), 0x03u);
    EXPECT_EQ(b->ToolTipText(), "Salva il testo");
}

TEST_F(ButtonToolTip, TextSetFromCodeSurvivesTheNextEnter) {
    b->SetToolTipText("Aiutooooo");
    // The setter creates the tooltip at once on a shown, enabled button.
    ASSERT_NE(tip(), nullptr);
    EXPECT_EQ(tip()->tool().text, "Aiutooooo");
    EXPECT_EQ(b->toolTip(), "");
    enter();
    EXPECT_EQ(b->ToolTipText(), "Aiutooooo");
    ASSERT_NE(tip(), nullptr);
    EXPECT_EQ(tip()->tool().text, "Aiutooooo");
    PropertyBag bag;
    b->WriteProperties(bag);
    EXPECT_EQ(bag.ReadProperty("ToolTipText").toString(), "Aiutooooo");
    b->SetToolTipText("Nuovo");  // re-created with the new text while the mouse is over
    ASSERT_NE(tip(), nullptr);
    EXPECT_EQ(tip()->tool().text, "Nuovo");
    leave(b);
    EXPECT_EQ(b->toolTip(), "Nuovo");
}

TEST_F(ButtonToolTip, DisabledOrHiddenButtonTakesTheTextButMakesNoWindow) {
    b->SetEnabled(false);
    b->SetToolTipText("Spento");
    EXPECT_EQ(tip(), nullptr);
    EXPECT_EQ(b->ToolTipText(), "Spento");
    EXPECT_EQ(b->toolTip(), "");
    b->SetEnabled(true);
    b->hide();
    EXPECT_EQ(b->toolTip(), "Spento");  // hiding gives the text back
    b->SetToolTipText("Nascosto");
    EXPECT_EQ(tip(), nullptr);
    EXPECT_EQ(b->ToolTipText(), "Nascosto");
    EXPECT_EQ(b->toolTip(), "");
}

TEST_F(ButtonToolTip, TitleAndIconAreSetOnlyWhenThereIsOne) {
    b->setToolTip("Aiutooooo");
    enter();
    ASSERT_NE(tip(), nullptr);
    EXPECT_FALSE(tip()->titleSet());
    leave(b);
    b->SetToolTipIcon(1);
    enter();
    ASSERT_NE(tip(), nullptr);
    EXPECT_TRUE(tip()->titleSet());  // an icon alone still sets the title
    EXPECT_EQ(tip()->titleIcon(), 1);
    EXPECT_EQ(tip()->title(), "");
    leave(b);
    b->SetToolTipTitle("Funzione:");
    b->SetToolTipIcon(0);
    enter();
    ASSERT_NE(tip(), nullptr);
    EXPECT_TRUE(tip()->titleSet());
    EXPECT_EQ(tip()->titleIcon(), 0);
    EXPECT_EQ(tip()->title(), "Funzione:");
}

TEST_F(ButtonToolTip, ColoursOfZeroAreNeverSent) {
    b->setToolTip("Colori");
    enter();
    ASSERT_NE(tip(), nullptr);
    EXPECT_FALSE(tip()->textColour().has_value());
    EXPECT_FALSE(tip()->backgroundColour().has_value());
    EXPECT_EQ(tip()->effectiveBackgroundColour(), QToolTip::palette().color(QPalette::ToolTipBase));
    leave(b);
    b->SetToolTipForeColor(0x0000FF);
    b->SetToolTipBackColor(syscolour::reference(syscolour::kInfoText));
    enter();
    ASSERT_NE(tip(), nullptr);
    EXPECT_EQ(tip()->textColour(), std::optional<uint32_t>(0x0000FFu));
    EXPECT_EQ(tip()->backgroundColour(), std::optional<uint32_t>(sys(syscolour::kInfoText)));
    leave(b);
    // A control read from storage without the keys has the crossed defaults, which are sent.
    PropertyBag bag;
    bag.WriteProperty("ToolTipText", "Letto");
    b->ReadProperties(bag);
    enter();
    ASSERT_NE(tip(), nullptr);
    EXPECT_EQ(tip()->textColour(), std::optional<uint32_t>(sys(syscolour::kInfoBackground)));
}

TEST_F(ButtonToolTip, ToolRectangleIsFixedWhenTheTooltipIsMade) {
    b->setToolTip("Fisso");
    enter();
    ASSERT_NE(tip(), nullptr);
    EXPECT_EQ(tip()->tool().rect, QRect(0, 0, 100, 30));
    b->resize(150, 40);
    EXPECT_EQ(tip()->tool().rect, QRect(0, 0, 100, 30));
}

TEST_F(ButtonToolTip, ShowsAfterTheDelayAndHidesOnClickOrKey) {
    b->setToolTip("Aspetta");
    enter({40, 10});
    ASSERT_NE(tip(), nullptr);
    moveTo(b, {41, 10});  // the tooltip watches the moves that follow
    EXPECT_FALSE(tip()->isVisible());
    ASSERT_TRUE(waitUntil([&] { return tip()->isVisible(); }));
    // Pressing a button hides it, and it stays hidden while the mouse stays.
    press(b, {41, 10});
    EXPECT_FALSE(tip()->isVisible());
    release(b, {41, 10});
    moveTo(b, {42, 10});
    EXPECT_FALSE(waitUntil([&] { return tip()->isVisible(); }, 1200));
    leave(b);
    enter({40, 10});
    moveTo(b, {41, 11});
    ASSERT_TRUE(waitUntil([&] { return tip()->isVisible(); }));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(b, &key);  // the focused button itself
    EXPECT_FALSE(tip()->isVisible());
    // Moving out of the tool's rectangle hides it too.
    leave(b);
    enter({40, 10});
    moveTo(b, {41, 11});
    ASSERT_TRUE(waitUntil([&] { return tip()->isVisible(); }));
    b->resize(150, 40);
    moveTo(b, {120, 11});
    EXPECT_FALSE(tip()->isVisible());
}

TEST_F(ButtonToolTip, StaysOnScreenNearItsEdges) {
    const QRect screen = b->screen()->availableGeometry();
    b->setToolTip("Un testo abbastanza lungo per il bordo dello schermo");
    for (int type : {1, 0}) {
        b->SetToolTipType(type);
        host.window.move(screen.right() - 150, screen.bottom() - 60);
        QApplication::processEvents();
        enter({95, 25});
        ASSERT_NE(tip(), nullptr);
        const QPoint mouse = b->mapToGlobal(QPoint(95, 25));
        tip()->popUp(mouse);
        EXPECT_TRUE(screen.contains(tip()->geometry())) << type << " " << tip()->geometry().x();
        EXPECT_LT(tip()->geometry().bottom(), mouse.y()) << type;  // moved above the pointer
        if (type == 1) {
            const QRect button(b->mapToGlobal(QPoint(0, 0)), b->size());
            EXPECT_TRUE(button.contains(tip()->stemTip()));
        }
        leave(b);
        host.window.move(screen.left(), screen.top());
        QApplication::processEvents();
        enter({5, 5});
        ASSERT_NE(tip(), nullptr);
        tip()->popUp(b->mapToGlobal(QPoint(5, 5)));
        EXPECT_TRUE(screen.contains(tip()->geometry())) << type;
        EXPECT_GT(tip()->geometry().top(), b->mapToGlobal(QPoint(5, 5)).y()) << type;
        leave(b);
    }
}

TEST_F(ButtonToolTip, BalloonScreenshot) {
    b->SetCaption("Aiuto");
    b->SetToolTipType(1);
    b->SetToolTipIcon(1);
    b->SetToolTipTitle("Funzione:");
    b->setToolTip("Aiutooooo");
    host.window.move(40, 40);
    QApplication::processEvents();
    enter({30, 12});
    ASSERT_NE(tip(), nullptr);
    const QPoint mouse = b->mapToGlobal(QPoint(30, 12));
    tip()->popUp(mouse);
    ASSERT_TRUE(tip()->isVisible());
    const QImage& face = tip()->face();
    ASSERT_FALSE(face.isNull());
    const QSize size = tip()->size();
    ASSERT_EQ(face.deviceIndependentSize().toSize(), size);
    // The face is drawn at the screen's resolution; look at it in window pixels.
    const auto pixel = [&](const QImage& image, int x, int y) {
        const qreal r = image.devicePixelRatio();
        return image.pixel(qFloor(x * r), qFloor(y * r));
    };

    // The balloon: transparent at its rounded corners, opaque at the stem's tip, the
    // background colour inside.
    const QPoint tipAt = tip()->stemTip() - tip()->geometry().topLeft();
    EXPECT_EQ(qAlpha(pixel(face, tipAt.x(), tipAt.y())), 255);
    EXPECT_EQ(qAlpha(pixel(face, size.width() - 1, size.height() - 1)), 0);
    EXPECT_GT(tip()->stemTip().y(), mouse.y());  // below the pointer, pointing up at it
    const QRgb background = tip()->effectiveBackgroundColour().rgb();
    EXPECT_EQ(pixel(face, size.width() - 12, size.height() - 12), background);
    EXPECT_EQ(tip()->mask().boundingRect(), QRect(QPoint(0, 0), size));
    EXPECT_FALSE(tip()->mask().contains(QPoint(size.width() - 1, size.height() - 1)));

    // The button and its balloon as they lie on the screen.
    const QRect area = host.window.geometry().united(tip()->geometry()).adjusted(-8, -8, 8, 8);
    QImage shot(area.size(), QImage::Format_RGB32);
    shot.fill(QColor(0xB0, 0xB8, 0xC0));
    QPainter p(&shot);
    p.drawImage(host.window.geometry().topLeft() - area.topLeft(), host.window.grab().toImage());
    p.drawImage(tip()->geometry().topLeft() - area.topLeft(), face);
    p.end();
    ASSERT_TRUE(shot.save(testOutputDir() + "/button_tooltip_balloon.png"));
    shot.scaled(shot.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(testOutputDir() + "/button_tooltip_balloon_x3.png");

    // The rectangle keeps its corners.
    leave(b);
    b->SetToolTipType(0);
    enter({30, 12});
    tip()->popUp(mouse);
    EXPECT_EQ(qAlpha(pixel(tip()->face(), 0, 0)), 255);
    EXPECT_EQ(tip()->geometry().topLeft(), mouse + QPoint(2, 16));
}

TEST_F(ButtonToolTip, NoPlainTooltipShowsWhileOursHoldsTheText) {
    host.window.setToolTip("Finestra");
    b->setToolTip("Bottone");
    enter();
    QHelpEvent help(QEvent::ToolTip, QPoint(50, 15), b->mapToGlobal(QPoint(50, 15)));
    EXPECT_TRUE(QApplication::sendEvent(b, &help));
    EXPECT_FALSE(QToolTip::isVisible());
    leave(b);
    QHelpEvent again(QEvent::ToolTip, QPoint(50, 15), b->mapToGlobal(QPoint(50, 15)));
    QApplication::sendEvent(b, &again);
    EXPECT_TRUE(QToolTip::isVisible());  // the host's own tooltip is back
    EXPECT_EQ(QToolTip::text(), "Bottone");
    QToolTip::hideText();
}
