#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QWindow>

#include "PanelFrame.h"
#include "ToggleLook.h"
#include "WindowTestSupport.h"

using namespace windowtest;

TEST(WindowControls, EveryButtonCarriesItsCaptionAndTooltip) {
    QTemporaryDir dir;
    MainWindow w(dir.path());
    const QString cancel = "Annulla le impostazioni e ripristina i valori precedenti";
    const struct {
        const char* name;
        QString caption;
        QString tip;
    } expected[] = {
        {"ThemedButton7", "Form OnTop", "Mantiene il form in primo piano"},
        {"ThemedButton6", "Aiuto", "Aiutooooo"},
        {"ThemedButton4", "Nome File\r\ncon ris. imm.",
         "Inserisce nel nome del file il formato dell'immagine"},
        {"ThemedButton3", "Rispetta le proporzioni",
         "Rispetta le proporzioni tra Larghezza e Altezza"},
        {"ThemedButton2_0", "Blocca Larg.",
         "Blocca la Larghezza e calcola l'Altezza in proporzione"},
        {"ThemedButton2_1", "Blocca Alt.",
         "Blocca l'Altezza e calcola la Larghezza in proporzione"},
        {"btnQualita", QString::fromUtf8("Qualità immagini"),
         QString::fromUtf8("Qualità delle immagini in formato JPeg")},
        {"ThemedButton5", "OK", "Esce dalla finestra di Aiuto e ritorna al programma"},
        {"cmdComment", "Inserisci Commento", "Inserisce un commento nell'immagine"},
        {"ThemedButton1_0", "Annulla", cancel},
        {"ThemedButton1_1", "OK", "Salva i cambiamenti effettuati"},
        {"ThemedButton1_2", "Annulla", cancel},
        {"ThemedButton1_3", "OK", "Salva il testo"},
    };
    for (const auto& e : expected) {
        ThemedButton* b = button(w, e.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->Caption(), e.caption) << e.name;
        EXPECT_EQ(b->ToolTipText(), e.tip) << e.name;
        EXPECT_EQ(b->ToolTipTitle(), "Funzione:") << e.name;
        // The balloon with the information icon, for every button alike.
        EXPECT_EQ(b->ToolTipType(), 1) << e.name;
        EXPECT_EQ(b->ToolTipIcon(), 1) << e.name;
        EXPECT_EQ(b->Style(), 6) << e.name;
    }
    EXPECT_EQ(control(w, "Text1")->toolTip(), "Larghezza immagine");
    EXPECT_EQ(control(w, "Text2")->toolTip(), "Altezza immagine");
    EXPECT_EQ(control<QCheckBox>(w, "chkGreyscale")->text(), "Bianco e Nero");
    EXPECT_EQ(control<QLabel>(w, "lblSubSample")->text(), "Sub Sampling:");

    const auto header = [&](const char* name) {
        return control<PanelFrame>(w, name)->HeaderText();
    };
    EXPECT_EQ(header("PanelFrame2"), "Opzioni");
    EXPECT_EQ(header("PanelFrame1"), "Dimensione delle immagini");
    EXPECT_EQ(header("FrameQualita"), QString::fromUtf8("Qualità delle immagini JPG"));
    EXPECT_EQ(header("frameCommento"), "Inserisci il Commento");
    const char* const captions[] = {" 320x240 ", " 640x480 ", " 800x600 ", " 1024x768 ",
                                    " Custom "};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(control<QLabel>(w, qPrintable(QString("Label1_%1").arg(i)))->text(), captions[i]);
        EXPECT_EQ(w.target(i)->parentWidget(), control(w, "PanelFrame1"));
    }
    EXPECT_EQ(control<QLabel>(w, "Label3")->text(), "x");
    EXPECT_EQ(control<QLabel>(w, "LabelLink")->text(), "https://velmora.example.com/tessaro");
    EXPECT_EQ(control(w, "Picture4")->size(), QSize(540, 405));
    EXPECT_EQ(control(w, "Picture4")->parentWidget(), control(w, "Picture3"));
    EXPECT_EQ(control(w, "FrameQualita")->parentWidget(), control(w, "Picture3"));
    EXPECT_EQ(control(w, "ThemedButton2_1")->parentWidget(), control(w, "PanelFrame2"));

    const QStringList entries = {QString::fromUtf8("1:1  [Max Qualità]"),
                                 "1:2",
                                 "2:1",
                                 "2:2  [Default]",
                                 "1:3",
                                 "3:1",
                                 "2:3",
                                 "3:2",
                                 "3:3",
                                 "1:4",
                                 "4:1",
                                 "2:4",
                                 "4:2",
                                 "3:4",
                                 "4:3",
                                 "4:4  [Max Compress]"};
    auto* list = control<QComboBox>(w, "cboSubSample");
    ASSERT_EQ(list->count(), 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(list->itemText(i), entries[i]);
}

TEST(WindowControls, TheWindowHasItsTitleAFixedSizeAndNoMinimiseOrMaximise) {
    QTemporaryDir dir;
    MainWindow w(dir.path());
    EXPECT_EQ(w.objectName(), "frmResizer");
    EXPECT_EQ(w.windowTitle(), "Velmora. Tessaro  Vers. 2.0");
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    // The panels are hidden until opened.
    for (const char* panel : {"Picture4", "FrameQualita", "frameCommento"})
        EXPECT_TRUE(control(w, panel)->isHidden()) << panel;
}

TEST(WindowControls, TheTwoMainPanelsCollapseAndExpandByTheirChevrons) {
    QTemporaryDir dir;
    MainWindow w(dir.path());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    for (const char* name : {"PanelFrame1", "PanelFrame2"}) {
        auto* panel = control<PanelFrame>(w, name);
        const int height = panel->height();
        // The chevron's box sits 23 pixels from the right edge, 2 below the top.
        const QPoint chevron(panel->width() - 14, 10);
        QTest::mouseMove(panel, chevron);
        QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, chevron);
        EXPECT_TRUE(panel->isCollapsed()) << name;
        EXPECT_LT(panel->height(), height) << name;
        QTest::mouseMove(panel, chevron);
        QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, chevron);
        EXPECT_FALSE(panel->isCollapsed()) << name;
        EXPECT_EQ(panel->height(), height) << name;
    }
}

TEST(WindowControls, WithoutASettingsFileTheHeightIsLockedAndTheTogglesAreOff) {
    QTemporaryDir dir;
    MainWindow w(dir.path());
    EXPECT_TRUE(w.settings().LockHeight);
    EXPECT_FALSE(w.settings().LockWidth);
    EXPECT_TRUE(HasToggleLookOn(button(w, "ThemedButton2_1")));
    EXPECT_FALSE(HasToggleLookOn(button(w, "ThemedButton2_0")));
    for (const char* toggle : {"ThemedButton3", "ThemedButton4", "ThemedButton7"}) {
        EXPECT_FALSE(HasToggleLookOn(button(w, toggle))) << toggle;
        EXPECT_EQ(button(w, toggle)->IconSize(), 0) << toggle;
        EXPECT_EQ(button(w, toggle)->CaptionAlign(), 0) << toggle;
    }
    EXPECT_EQ(w.settings().Quality, 75);
    EXPECT_EQ(w.settings().SubSampleIndex, 3);
    EXPECT_EQ(w.settings().SampleH, 2);
    EXPECT_EQ(w.settings().SampleV, 2);
    EXPECT_FALSE(w.settings().StayOnTop);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(WindowControls, OptionButtonsToggleTheirFieldsAndLookAndTheLockStaysChosen) {
    QTemporaryDir dir;
    MainWindow w(dir.path());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ThemedButton* proportions = button(w, "ThemedButton3");
    click(proportions);
    EXPECT_TRUE(w.settings().KeepProportions);
    EXPECT_TRUE(HasToggleLookOn(proportions));
    click(proportions);
    EXPECT_FALSE(w.settings().KeepProportions);
    EXPECT_FALSE(HasToggleLookOn(proportions));
    click(button(w, "ThemedButton4"));
    EXPECT_TRUE(w.settings().NameWithSize);

    ThemedButton* lockWidth = button(w, "ThemedButton2_0");
    ThemedButton* lockHeight = button(w, "ThemedButton2_1");
    click(lockWidth);
    EXPECT_TRUE(w.settings().LockWidth);
    EXPECT_FALSE(w.settings().LockHeight);
    EXPECT_TRUE(HasToggleLookOn(lockWidth));
    EXPECT_FALSE(HasToggleLookOn(lockHeight));
    click(lockHeight);
    click(lockHeight);
    EXPECT_TRUE(w.settings().LockHeight);
    EXPECT_FALSE(w.settings().LockWidth);
    EXPECT_TRUE(HasToggleLookOn(lockHeight));
    EXPECT_FALSE(HasToggleLookOn(lockWidth));
}

TEST(WindowControls, OnTopKeepsTheNativeWindowShownWhereItWas) {
    QTemporaryDir dir;
    MainWindow w(dir.path());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.move(120, 90);
    QApplication::processEvents();
    const QRect before = w.frameGeometry();
    // The same native window throughout: a new one would flicker and could land elsewhere.
    const WId native = w.winId();
    for (const bool on : {true, false, true}) {
        click(button(w, "ThemedButton7"));
        EXPECT_EQ(w.settings().StayOnTop, on);
        EXPECT_EQ(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
        EXPECT_EQ(w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), on);
        EXPECT_EQ(w.winId(), native);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.frameGeometry(), before);
    }
}
