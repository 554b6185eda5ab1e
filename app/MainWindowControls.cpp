// The window's controls: where each one stands, its caption and tooltip, and which handler
// each event runs.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "ClickLabel.h"
#include "HelpText.h"
#include "MainWindow.h"
#include "PanelFrame.h"
#include "QualityChoices.h"
#include "ThemedButton.h"
#include "WindowPictures.h"

namespace {

const char* const kCaptions[5] = {" 320x240 ", " 640x480 ", " 800x600 ", " 1024x768 ", " Custom "};
const char* const kCancelTip = "Annulla le impostazioni e ripristina i valori precedenti";

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

// Option buttons stand in one column.
constexpr int kOptionLeft = 10;
constexpr int kOptionTop = 35;
constexpr int kOptionStep = 46;
constexpr int kOptionRows = 9;
QRect optionRow(int row) {
    return {kOptionLeft, kOptionTop + row * kOptionStep, 150, 40};
}
// The options frame holds its rows with a margin below; the size panel stands under it.
constexpr int kOptionsHeight = kOptionTop + kOptionRows * kOptionStep + 3;
constexpr int kSizesTop = 8 + kOptionsHeight + 8;

// The five targets share the size panel's width in equal columns.
constexpr int kColumnLeft = 14;
constexpr int kColumnWidth = 138;
constexpr int kTargetInset = 9;
constexpr int kTargetTop = 53;
constexpr QSize kTargetSize(120, 90);

}  // namespace

ThemedButton* MainWindow::makeButton(QWidget* parent, const QString& name, const QString& caption,
                                     const QString& toolTip, const QRect& geometry) {
    auto* button = new ThemedButton(parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->InitProperties();
    button->SetStyle(6);
    button->SetNonThemeStyle(0);
    button->SetRoundedBordersByTheme(false);
    if (!caption.isEmpty())
        button->SetCaption(caption);
    // Every button explains itself in the same balloon: information icon, title "Funzione:".
    button->SetToolTipType(1);
    button->SetToolTipIcon(1);
    button->SetToolTipTitle(utf8("Funzione:"));
    if (!toolTip.isEmpty())
        button->SetToolTipText(toolTip);
    return button;
}

PanelFrame* MainWindow::makePanel(QWidget* parent, const QString& name, const QString& header,
                                  const QRect& geometry) {
    auto* panel = new PanelFrame(parent);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    panel->setHeaderText(header);
    return panel;
}

void MainWindow::buildOptions() {
    PanelFrame2 = makePanel(this, "PanelFrame2", "Opzioni", QRect(8, 8, 170, kOptionsHeight));
    PanelFrame2->setExpandable(true);
    PanelFrame2->setFooterVisible(false);

    ThemedButton7 = makeButton(PanelFrame2, "ThemedButton7", "Form OnTop",
                               "Mantiene il form in primo piano", optionRow(0));
    ThemedButton6 = makeButton(PanelFrame2, "ThemedButton6", "Aiuto", QString(), optionRow(1));
    ThemedButton4 =
        makeButton(PanelFrame2, "ThemedButton4", QString(),
                   "Inserisce nel nome del file il formato dell'immagine", optionRow(2));
    ThemedButton3 = makeButton(PanelFrame2, "ThemedButton3", "Rispetta le proporzioni",
                               "Rispetta le proporzioni tra Larghezza e Altezza", optionRow(3));
    ThemedButton2[0] =
        makeButton(PanelFrame2, "ThemedButton2_0", "Blocca Larg.",
                   "Blocca la Larghezza e calcola l'Altezza in proporzione", optionRow(4));
    ThemedButton2[1] =
        makeButton(PanelFrame2, "ThemedButton2_1", "Blocca Alt.",
                   "Blocca l'Altezza e calcola la Larghezza in proporzione", optionRow(5));
    btnSmooth = makeButton(PanelFrame2, "btnSmooth", utf8("Alta qualità"),
                           utf8("Ridimensiona le immagini con smussatura: più nitide, senza "
                                "scalettature, un po' più lente da calcolare"),
                           optionRow(6));
    btnSmooth->SetToolTipIcon(1);  // information
    btnQualita = makeButton(PanelFrame2, "btnQualita", utf8("Qualità immagini"),
                            utf8("Qualità delle immagini in formato JPeg"), optionRow(7));
    btnAltreOpzioni = makeButton(
        PanelFrame2, "btnAltreOpzioni", "Altre opzioni",
        "Dati Exif, data dei file, ingrandimento e comportamento dopo un errore", optionRow(8));

    // The two-state buttons show their state through this icon (see the toggle look).
    const QImage mark = windowpictures::ToggleMark();
    for (ThemedButton* b : {ThemedButton7, ThemedButton4, ThemedButton3, ThemedButton2[0],
                            ThemedButton2[1], btnSmooth}) {
        b->SetIcon(mark);
    }

    connect(ThemedButton7, &ThemedButton::Click, this, &MainWindow::ThemedButton7_Click);
    connect(ThemedButton6, &ThemedButton::Click, this, &MainWindow::ThemedButton6_Click);
    connect(ThemedButton4, &ThemedButton::Click, this, &MainWindow::ThemedButton4_Click);
    connect(ThemedButton3, &ThemedButton::Click, this, &MainWindow::ThemedButton3_Click);
    for (int i = 0; i < 2; ++i) {
        connect(ThemedButton2[static_cast<size_t>(i)], &ThemedButton::Click, this,
                [this, i] { ThemedButton2_Click(i); });
    }
    connect(btnSmooth, &ThemedButton::Click, this, &MainWindow::btnSmooth_Click);
    connect(btnQualita, &ThemedButton::Click, this, &MainWindow::btnQualita_Click);
    connect(btnAltreOpzioni, &ThemedButton::Click, this, &MainWindow::btnAltreOpzioni_Click);
}

void MainWindow::buildSizes() {
    PanelFrame1 =
        makePanel(this, "PanelFrame1", "Dimensione delle immagini", QRect(8, kSizesTop, 718, 203));
    PanelFrame1->setExpandable(true);
    for (int i = 0; i < 5; ++i) {
        const int left = kColumnLeft + i * kColumnWidth;
        auto* caption = new QLabel(kCaptions[i], PanelFrame1);
        caption->setObjectName(QString("Label1_%1").arg(i));
        caption->setAlignment(Qt::AlignCenter);
        caption->setGeometry(left, 33, kColumnWidth, 18);
        Label1[static_cast<size_t>(i)] = caption;

        auto* target = new DropTarget(i, PanelFrame1);
        target->setObjectName(QString("Resizer_%1").arg(i));
        target->setGeometry(QRect(QPoint(left + kTargetInset, kTargetTop), kTargetSize));
        if (i < 4)
            target->setAccessibleName(QString(kCaptions[i]).trimmed());
        connect(target, &DropTarget::filesDropped, this, &MainWindow::queueDrop);
        Resizer[static_cast<size_t>(i)] = target;
    }

    // The custom size, under the custom target.
    const int left = kColumnLeft + 4 * kColumnWidth + kTargetInset;
    const int top = kTargetTop + kTargetSize.height() + 8;
    Text1 = new QLineEdit("1280", PanelFrame1);
    Text1->setObjectName("Text1");
    Text1->setToolTip("Larghezza immagine");
    Text1->setAccessibleName("Larghezza");
    Text1->setGeometry(left, top, 52, 24);
    Label3 = new QLabel("x", PanelFrame1);
    Label3->setObjectName("Label3");
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setGeometry(left + 52, top, 16, 24);
    Text2 = new QLineEdit("960", PanelFrame1);
    Text2->setObjectName("Text2");
    Text2->setToolTip("Altezza immagine");
    Text2->setAccessibleName("Altezza");
    Text2->setGeometry(left + 68, top, 52, 24);
    for (QLineEdit* box : {Text1, Text2}) {
        box->setAlignment(Qt::AlignCenter);
        box->setMaxLength(9);  // more digits than any canvas side can use
    }

    // The custom target's name tells a screen reader the size it resizes to now.
    const auto nameCustomTarget = [this] {
        Resizer[4]->setAccessibleName(
            QString("%1x%2 (personalizzata)").arg(Text1->text(), Text2->text()));
    };
    connect(Text1, &QLineEdit::textChanged, this, nameCustomTarget);
    connect(Text2, &QLineEdit::textChanged, this, nameCustomTarget);
    nameCustomTarget();

    // The footer tells how the last batch went; the whole text is in the tooltip.
    const int footerTop = PanelFrame1->height() - 20;
    BatchNotice = new QWidget(PanelFrame1);
    BatchNotice->setObjectName("BatchNotice");
    BatchNotice->setGeometry(0, footerTop, PanelFrame1->width() - 110, 20);
    lnkOutputFolder = new ClickLabel(PanelFrame1);
    lnkOutputFolder->setObjectName("lnkOutputFolder");
    lnkOutputFolder->setText("Apri cartella");
    lnkOutputFolder->setToolTip("Apre la cartella dei file elaborati");
    lnkOutputFolder->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lnkOutputFolder->setStyleSheet("color: white; text-decoration: underline;");
    lnkOutputFolder->setGeometry(PanelFrame1->width() - 106, footerTop, 100, 20);
    lnkOutputFolder->hide();
    connect(lnkOutputFolder, &ClickLabel::Click, this, &MainWindow::openOutputFolder);
    // In the same place while a batch runs.
    lnkStop = new ClickLabel(PanelFrame1);
    lnkStop->setObjectName("lnkStop");
    lnkStop->setText("Interrompi (Esc)");
    lnkStop->setToolTip("Ferma il lavoro dopo il file in corso");
    lnkStop->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lnkStop->setStyleSheet(lnkOutputFolder->styleSheet());
    lnkStop->setGeometry(lnkOutputFolder->geometry());
    lnkStop->hide();
    connect(lnkStop, &ClickLabel::Click, this, &MainWindow::stopBatch);
    buildFailureLink();
}

void MainWindow::buildPictures() {
    Picture3 = new QLabel(this);
    Picture3->setObjectName("Picture3");
    // The picture stands as tall as the options frame beside it, cut to fill it.
    Picture3->setGeometry(186, 8, 540, kOptionsHeight);
    const QImage decoration = windowpictures::Decoration().scaled(
        Picture3->size(), Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    Picture3->setPixmap(QPixmap::fromImage(
        decoration.copy(QRect(QPoint((decoration.width() - Picture3->width()) / 2,
                                     (decoration.height() - Picture3->height()) / 2),
                              Picture3->size()))));

    LabelLink = new ClickLabel(Picture3);
    LabelLink->setObjectName("LabelLink");
    LabelLink->setText(ProjectAddress());
    LabelLink->setAccessibleName(ProjectAddress());
    LabelLink->setStyleSheet(
        "color: white; background: rgba(0, 0, 0, 120); padding: 1px 6px; "
        "text-decoration: underline;");
    LabelLink->adjustSize();
    LabelLink->move(Picture3->width() - LabelLink->width() - 8,
                    Picture3->height() - LabelLink->height() - 8);
    connect(LabelLink, &ClickLabel::Click, this, &MainWindow::LabelLink_Click);

    buildQualityPanel();
    buildCommentPanel();
    buildMoreOptionsPanel();

    Picture4 = new QLabel(Picture3);
    Picture4->setObjectName("Picture4");
    Picture4->setGeometry(0, 8, 540, 405);
    Picture4->setPixmap(QPixmap::fromImage(windowpictures::Help()));
    Picture4->setAccessibleName("Aiuto");
    Picture4->setAccessibleDescription(helptext::Spoken());
    Picture4->hide();
    ThemedButton5 =
        makeButton(Picture4, "ThemedButton5", "OK",
                   "Esce dalla finestra di Aiuto e ritorna al programma", QRect(428, 359, 100, 34));
    connect(ThemedButton5, &ThemedButton::Click, this, &MainWindow::ThemedButton5_Click);
}

void MainWindow::buildQualityPanel() {
    FrameQualita = makePanel(Picture3, "FrameQualita", utf8("Qualità delle immagini JPG"),
                             QRect(100, 70, 340, 250));
    FrameQualita->setFooterVisible(false);

    lblQuality = new QLabel(utf8("Qualità:"), FrameQualita);
    lblQuality->setObjectName("lblQuality");
    lblQuality->setGeometry(16, 34, 308, 18);
    hscQuality = new QScrollBar(Qt::Horizontal, FrameQualita);
    hscQuality->setObjectName("hscQuality");
    hscQuality->setRange(1, 100);
    hscQuality->setPageStep(10);
    hscQuality->setGeometry(16, 54, 308, 18);
    hscQuality->setAccessibleName(utf8("Qualità"));
    lblSubSample = new QLabel("Sub Sampling:", FrameQualita);
    lblSubSample->setObjectName("lblSubSample");
    lblSubSample->setGeometry(16, 86, 100, 22);
    cboSubSample = new QComboBox(FrameQualita);
    cboSubSample->setObjectName("cboSubSample");
    cboSubSample->addItems(qualitychoices::SubSampleEntries());
    cboSubSample->setCurrentIndex(-1);
    cboSubSample->setGeometry(120, 84, 204, 26);
    cboSubSample->setAccessibleName("Sub Sampling");
    chkGreyscale = new QCheckBox("Bianco e Nero", FrameQualita);
    chkGreyscale->setObjectName("chkGreyscale");
    chkGreyscale->setGeometry(16, 118, 200, 22);
    cmdComment = makeButton(FrameQualita, "cmdComment", "Inserisci Commento",
                            "Inserisce un commento nell'immagine", QRect(16, 148, 308, 36));
    ThemedButton1[0] = makeButton(FrameQualita, "ThemedButton1_0", "Annulla", utf8(kCancelTip),
                                  QRect(16, 198, 150, 36));
    ThemedButton1[1] = makeButton(FrameQualita, "ThemedButton1_1", "OK",
                                  "Salva i cambiamenti effettuati", QRect(174, 198, 150, 36));
    FrameQualita->hide();

    connect(hscQuality, &QScrollBar::valueChanged, this, &MainWindow::hscQuality_Change);
    connect(cboSubSample, &QComboBox::currentIndexChanged, this, &MainWindow::cboSubSample_Click);
    connect(chkGreyscale, &QCheckBox::toggled, this, &MainWindow::chkGreyscale_Click);
    connect(cmdComment, &ThemedButton::Click, this, &MainWindow::cmdComment_Click);
}

void MainWindow::buildCommentPanel() {
    frameCommento =
        makePanel(Picture3, "frameCommento", "Inserisci il Commento", QRect(90, 96, 360, 220));
    frameCommento->setFooterVisible(false);
    txtComment = new QPlainTextEdit(frameCommento);
    txtComment->setObjectName("txtComment");
    txtComment->setGeometry(12, 33, 336, 125);
    txtComment->setAccessibleName("Commento");
    txtComment->setTabChangesFocus(true);
    ThemedButton1[2] = makeButton(frameCommento, "ThemedButton1_2", "Annulla", utf8(kCancelTip),
                                  QRect(12, 170, 162, 36));
    ThemedButton1[3] = makeButton(frameCommento, "ThemedButton1_3", "OK", "Salva il testo",
                                  QRect(186, 170, 162, 36));
    frameCommento->hide();

    for (int i = 0; i < 4; ++i) {
        connect(ThemedButton1[static_cast<size_t>(i)], &ThemedButton::Click, this,
                [this, i] { ThemedButton1_Click(i); });
    }
}
