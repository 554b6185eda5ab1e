// What the option buttons, the quality, comment and help panels and the link do.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "BatchNotice.h"
#include "Hyperlink.h"
#include "MainWindow.h"
#include "ModalWait.h"
#include "PanelFrame.h"
#include "QualityChoices.h"
#include "ThemedButton.h"
#include "ToggleLook.h"
#include "WindowPosition.h"
#include "WindowUtils.h"

namespace {
// Where the help panel opens in the picture: 120 twips from its top.
constexpr int kHelpTop = 120 / windowposition::kTwipsPerPixel;
}  // namespace

// --- option buttons ---

void MainWindow::ThemedButton3_Click() {
    settings_.KeepProportions = !settings_.KeepProportions;
    ApplyToggleLook(ThemedButton3, settings_.KeepProportions);
}

void MainWindow::ThemedButton4_Click() {
    settings_.NameWithSize = !settings_.NameWithSize;
    ApplyToggleLook(ThemedButton4, settings_.NameWithSize);
}

void MainWindow::btnSmooth_Click() {
    choices_.Smooth = !choices_.Smooth;
    ApplyToggleLook(btnSmooth, choices_.Smooth);
}

void MainWindow::ThemedButton7_Click() {
    settings_.StayOnTop = !settings_.StayOnTop;
    ApplyToggleLook(ThemedButton7, settings_.StayOnTop);
    WindowUtils::SetTopMost(this, settings_.StayOnTop);
}

void MainWindow::ThemedButton2_Click(int Index) {
    settings_.LockHeight = false;
    settings_.LockWidth = false;
    ApplyToggleLook(ThemedButton2[static_cast<size_t>(Index)], true);
    ApplyToggleLook(ThemedButton2[static_cast<size_t>(1 - Index)], false);
    if (Index == 0) {
        settings_.LockWidth = true;
    } else {
        settings_.LockHeight = true;
    }
}

void MainWindow::btnQualita_Click() {
    ShowQualityPanel(false);
}

// --- quality panel ---

void MainWindow::ShowQualityPanel(bool init) {
    SavedSettings = settings_;
    const int entry = settings_.SubSampleIndex >= 0 && settings_.SubSampleIndex <= 15
                          ? settings_.SubSampleIndex
                          : qualitychoices::kDefaultEntry;
    cboSubSample->setCurrentIndex(entry);
    if (settings_.Quality >= 1 && settings_.Quality <= 100) {
        hscQuality->setValue(settings_.Quality);
    } else {
        hscQuality->setValue(qualitychoices::kDefaultQuality);
        cboSubSample->setCurrentIndex(qualitychoices::kDefaultEntry);
    }
    // From the copy: selecting the entry above has run the list's handler with the box as it
    // was left last time, which may have changed the greyscale field already.
    chkGreyscale->setChecked(SavedSettings.GreyscaleOn);
    txtComment->setPlainText(settings_.Comment);
    if (!init) {
        FrameQualita->show();
        FrameQualita->raise();
    }
    setOptionsEnabled(false);
    if (!init)
        WaitWhileShown(FrameQualita);
    setOptionsEnabled(true);
}

void MainWindow::cboSubSample_Click() {
    const bool greyscale = chkGreyscale->isChecked();
    cboSubSample->setEnabled(!greyscale);
    qualitychoices::ApplySubSample(settings_, cboSubSample->currentIndex(), greyscale);
}

void MainWindow::chkGreyscale_Click() {
    cboSubSample_Click();
}

void MainWindow::hscQuality_Change() {
    settings_.Quality = hscQuality->value();
    lblQuality->setText(qualitychoices::QualityLabel(settings_.Quality));
}

void MainWindow::ThemedButton1_Click(int Index) {
    switch (Index) {
        case 0:
            settings_ = SavedSettings;
            FrameQualita->hide();
            break;
        case 1:
            FrameQualita->hide();
            SaveSettings();
            break;
        case 3:
            settings_.Comment = qualitychoices::TrimComment(txtComment->toPlainText());
            break;
        default:
            break;
    }
    frameCommento->hide();
}

void MainWindow::cmdComment_Click() {
    txtComment->setPlainText(settings_.Comment);
    frameCommento->show();
    frameCommento->raise();
    txtComment->setFocus();
}

// --- help and link ---

void MainWindow::ThemedButton6_Click() {
    Picture4->move(0, kHelpTop);
    Picture4->show();
    Picture4->raise();
    setOptionsEnabled(false);
    WaitWhileShown(Picture4);
    setOptionsEnabled(true);
}

void MainWindow::ThemedButton5_Click() {
    Picture4->hide();
}

void MainWindow::LabelLink_Click() {
    Hyperlink link;
    link.setURL(ProjectAddress());
    link.setExplorerStatus(1);
    if (!link.OpenURL()) {
        setFooterNotice(QStringLiteral("Impossibile aprire il sito del progetto"),
                        batchnotice::OpenFailed(ProjectAddress()));
    }
}
