// The "Altre opzioni" panel, which holds our own choices, and the list of the files a batch
// went on without.
#include <QCheckBox>
#include <QLabel>
#include <algorithm>

#include "ClickLabel.h"
#include "FailureList.h"
#include "MainWindow.h"
#include "ModalWait.h"
#include "PanelFrame.h"
#include "ThemedButton.h"

namespace {

struct Toggle {
    const char* name;
    const char* caption;
    const char* toolTip;
    bool OwnChoices::*choice;
};

// One box per choice, top to bottom; the GPS box depends on the first.
const Toggle kToggles[5] = {
    {"chkKeepMetadata", "Mantieni i dati Exif delle foto JPG",
     "Data di scatto, fotocamera ed esposizione restano nei file JPG elaborati",
     &OwnChoices::KeepMetadata},
    {"chkKeepGps", "Mantieni anche la posizione GPS",
     "Senza questa scelta la posizione viene tolta dai dati Exif", &OwnChoices::KeepGps},
    {"chkKeepDate", "Mantieni la data dei file originali",
     "Ogni file elaborato prende la data di modifica del suo originale", &OwnChoices::KeepDate},
    {"chkNeverEnlarge", "Non ingrandire le immagini piccole",
     "Un'immagine più piccola della misura scelta, in larghezza e in altezza, resta com'è",
     &OwnChoices::NeverEnlarge},
    {"chkKeepGoing", "Continua dopo un errore",
     "Un file che non si può elaborare viene segnalato e saltato, e si passa al successivo",
     &OwnChoices::KeepGoing},
};
constexpr int kGps = 1;

constexpr QSize kPanelSize(380, 240);
constexpr int kBoxTop = 36;
constexpr int kBoxStep = 28;
constexpr int kBoxIndent = 22;  // the GPS box stands under the Exif box it depends on

}  // namespace

void MainWindow::buildMoreOptionsPanel() {
    const QPoint centred((Picture3->width() - kPanelSize.width()) / 2,
                         (Picture3->height() - kPanelSize.height()) / 2);
    FrameAltreOpzioni =
        makePanel(Picture3, "FrameAltreOpzioni", "Altre opzioni", QRect(centred, kPanelSize));
    FrameAltreOpzioni->setFooterVisible(false);

    for (size_t i = 0; i < chkAltre.size(); ++i) {
        const Toggle& t = kToggles[i];
        const int indent = i == kGps ? kBoxIndent : 0;
        auto* box = new QCheckBox(QString::fromUtf8(t.caption), FrameAltreOpzioni);
        box->setObjectName(t.name);
        box->setToolTip(QString::fromUtf8(t.toolTip));
        // As wide as its caption: a click beside the caption does not toggle it.
        box->setGeometry(16 + indent, kBoxTop + static_cast<int>(i) * kBoxStep,
                         std::min(box->sizeHint().width(), kPanelSize.width() - 32 - indent), 24);
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
            choices_.*kToggles[i].choice = on;
            if (i == 0)
                chkAltre[kGps]->setEnabled(on);
        });
        chkAltre[i] = box;
    }

    const int buttonTop = kPanelSize.height() - 50;
    const int half = (kPanelSize.width() - 40) / 2;
    cmdAltreOpzioni[0] =
        makeButton(FrameAltreOpzioni, "cmdAltreOpzioni_0", "Annulla",
                   QString::fromUtf8("Annulla le scelte e ripristina quelle precedenti"),
                   QRect(16, buttonTop, half, 36));
    cmdAltreOpzioni[1] =
        makeButton(FrameAltreOpzioni, "cmdAltreOpzioni_1", "OK", "Salva le scelte effettuate",
                   QRect(24 + half, buttonTop, half, 36));
    for (int i = 0; i < 2; ++i) {
        connect(cmdAltreOpzioni[static_cast<size_t>(i)], &ThemedButton::Click, this,
                [this, i] { cmdAltreOpzioni_Click(i == 1); });
    }
    FrameAltreOpzioni->hide();
}

void MainWindow::buildFailureLink() {
    lnkFailures = new ClickLabel(PanelFrame1);
    lnkFailures->setObjectName("lnkFailures");
    lnkFailures->setText("Vedi errori");
    lnkFailures->setToolTip("Elenca i file non elaborati e il motivo");
    lnkFailures->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lnkFailures->setStyleSheet("color: white; text-decoration: underline;");
    const QRect folderLink = lnkOutputFolder->geometry();
    lnkFailures->setGeometry(folderLink.translated(-folderLink.width() - 6, 0));
    lnkFailures->hide();
    connect(lnkFailures, &ClickLabel::Click, this, &MainWindow::showFailureList);
}

void MainWindow::btnAltreOpzioni_Click() {
    ShowMoreOptionsPanel();
}

void MainWindow::ShowMoreOptionsPanel() {
    SavedChoices = choices_;
    showChoicesInPanel();
    FrameAltreOpzioni->show();
    FrameAltreOpzioni->raise();
    setOptionsEnabled(false);
    WaitWhileShown(FrameAltreOpzioni);
    setOptionsEnabled(true);
}

void MainWindow::showChoicesInPanel() {
    // Set from a copy: each box's handler writes its choice back as it is set.
    const OwnChoices shown = choices_;
    for (size_t i = 0; i < chkAltre.size(); ++i)
        chkAltre[i]->setChecked(shown.*kToggles[i].choice);
    chkAltre[kGps]->setEnabled(shown.KeepMetadata);
}

void MainWindow::cmdAltreOpzioni_Click(bool keep) {
    if (!keep)
        choices_ = SavedChoices;
    FrameAltreOpzioni->hide();
    if (keep)
        SaveSettings();
}

void MainWindow::showFailureList() {
    if (!failureList_)
        failureList_ = new FailureList(this);
    failureList_->setFailures(lastReport_.failures);
    failureList_->show();
    failureList_->raise();
}
