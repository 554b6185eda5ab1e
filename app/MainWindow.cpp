#include "MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFontMetrics>
#include <QScreen>
#include <QShortcut>
#include <QUrl>

#include "AccessibleNotice.h"
#include "BatchNotice.h"
#include "ClickLabel.h"
#include "FailureList.h"
#include "PanelFrame.h"
#include "QualityChoices.h"
#include "RuntimeError.h"
#include "SessionEnd.h"
#include "SettingsFile.h"
#include "ThemedButton.h"
#include "ToggleLook.h"
#include "WindowPosition.h"
#include "WindowUtils.h"

namespace {
const char* const kBusyHeader = "Elaborazione in corso...";
constexpr QSize kClientSize(734, 697);
}  // namespace

QString MainWindow::DropTip() {
    return QString::fromUtf8("Trascina le immagini da ridimensionare all'interno della") +
           QString::fromUtf8(" finestra corrispondente alla grandezza desiderata.");
}

QString MainWindow::ProjectAddress() {
    return QStringLiteral("https://velmora.example.com/tessaro");
}

MainWindow::MainWindow(QString programFolder, QWidget* parent)
    : QWidget(parent), programFolder_(std::move(programFolder)) {
    setObjectName("frmResizer");
    setWindowTitle("Velmora. Tessaro  Vers. 2.0");
    // A close button and no minimise or maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientSize);

    buildOptions();
    buildSizes();
    buildPictures();

    // Esc stops a running batch after the file in hand.
    auto* stop = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(stop, &QShortcut::activated, this, &MainWindow::stopBatch);
    // The end of the session closes the window as its close button does: settings are saved.
    connect(&SessionEnd::watcher(), &SessionEnd::requested, this, &QWidget::close);

    Form_Load();
}

MainWindow::~MainWindow() = default;

QString MainWindow::HeaderText() const {
    return PanelFrame1->HeaderText();
}

void MainWindow::Form_Load() {
    WindowUtils::AddWindowStyle(Text1, WindowUtils::ES_NUMBER);
    WindowUtils::AddWindowStyle(Text2, WindowUtils::ES_NUMBER);
    for (DropTarget* t : Resizer)
        t->setToolTip(DropTip() + QLatin1Char('\n') + DropTarget::ChooserHint());
    settingsfile::LoadSettings(programFolder_, settings_);
    ownchoices::Load(programFolder_, choices_);
    Text1->setText(choices_.CustomWidth);
    Text2->setText(choices_.CustomHeight);
    if (settings_.SampleH != 0)
        qualitychoices::FallBackFromBadSampling(settings_);
    if (settings_.SampleH == 0) {
        // From an empty list, so that selecting the entry derives the factors from it.
        ShowQualityPanel(true);
    } else if (settings_.SubSampleIndex >= 0 && settings_.SubSampleIndex < cboSubSample->count()) {
        // The list starts on the saved entry, so that setting the greyscale box below keeps
        // the saved subsampling choice instead of reading an empty list.
        const QSignalBlocker quiet(cboSubSample);
        cboSubSample->setCurrentIndex(settings_.SubSampleIndex);
    }
    restorePosition();
    ThemedButton4->SetCaption("Nome File\r\ncon ris. imm.");
    ApplyToggleLook(ThemedButton4, settings_.NameWithSize);
    ApplyToggleLook(ThemedButton3, settings_.KeepProportions);
    ApplyToggleLook(ThemedButton7, settings_.StayOnTop);
    ApplyToggleLook(btnSmooth, choices_.Smooth);
    if (settings_.LockHeight) {
        ThemedButton2_Click(1);
    } else if (!settings_.LockWidth) {
        settings_.LockHeight = true;
        ThemedButton2_Click(1);
    } else {
        ThemedButton2_Click(0);
    }
    chkGreyscale->setChecked(settings_.GreyscaleOn);
    ThemedButton6->SetToolTipType(1);
    ThemedButton6->SetToolTipIcon(1);
    ThemedButton6->SetToolTipText("Aiutooooo");
    ThemedButton6->SetToolTipTitle("Funzione:");
    WindowUtils::SetTopMost(this, settings_.StayOnTop);
}

void MainWindow::restorePosition() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect primaryArea = primary ? primary->availableGeometry() : QRect();
    const QSize frameSize = frameGeometry().size();
    if (settings_.FormLeft < 0) {
        if (!primaryArea.isEmpty())
            move(windowposition::Centred(frameSize, primaryArea));
        return;
    }
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const QPoint saved(windowposition::ToPixels(settings_.FormLeft),
                       windowposition::ToPixels(settings_.FormTop));
    // A top-level widget's move() places its outer frame, as the position was saved.
    move(windowposition::OnScreen(saved, frameSize, screens, primaryArea));
}

void MainWindow::SaveSettings() {
    const QPoint frame = frameGeometry().topLeft();
    try {
        const int32_t left = windowposition::ToTwips(frame.x());
        const int32_t top = windowposition::ToTwips(frame.y());
        settings_.FormLeft = left;
        settings_.FormTop = top;
    } catch (const tessaro::RuntimeError&) {
        // A position beyond the field's range keeps the one saved before.
    }
    settingsfile::SaveSettings(programFolder_, settings_);
    choices_.CustomWidth = Text1->text();
    choices_.CustomHeight = Text2->text();
    ownchoices::Save(programFolder_, choices_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void MainWindow::Form_Unload() {
    SaveSettings();
    // Nothing may keep the program alive once its window is gone: a batch in hand stops after
    // its file, queued drops are dropped, and the waits of open panels end.
    closing_ = true;
    pending_.clear();
    frameCommento->hide();
    FrameQualita->hide();
    FrameAltreOpzioni->hide();
    Picture4->hide();
    if (failureList_)
        failureList_->close();
}

void MainWindow::setOptionsEnabled(bool enabled) {
    PanelFrame1->setEnabled(enabled);
    PanelFrame2->setEnabled(enabled);
}

// --- batches ---

void MainWindow::queueDrop(int index, const QStringList& paths) {
    // The program the files came from waits until the drop returns: the batch starts from the
    // event loop right after. The window takes the keyboard, so that Esc reaches it.
    activateWindow();
    QMetaObject::invokeMethod(
        this, [this, index, paths] { Resizer_OLEDragDrop(index, paths); }, Qt::QueuedConnection);
}

void MainWindow::Resizer_OLEDragDrop(int index, const QStringList& paths) {
    if (closing_)
        return;
    pending_.append({index, paths});
    if (busy_)
        return;  // the running batch takes it up when it ends
    while (!pending_.isEmpty()) {
        const auto [next, files] = pending_.takeFirst();
        runBatch(next, files);
    }
}

void MainWindow::runBatch(int index, const QStringList& paths) {
    BatchHost host;
    host.processEvents = [] { QCoreApplication::processEvents(); };
    host.setBusy = [this](bool busy) { setBusy(busy); };
    host.previewSize = [this](int i) { return target(i)->contentsRect().size(); };
    host.showPreview = [this](int i, const QImage& preview) { target(i)->showPreview(preview); };
    host.progress = [this](int done, int accepted) { showProgress(done, accepted); };
    host.stopRequested = [this] { return stopRequested_ || closing_; };
    busy_ = true;
    stopRequested_ = false;
    BatchDriver driver(programFolder_, settings_, host);
    driver.setCustomSize(Text1->text(), Text2->text());
    driver.setChoices(choices_);
    lastReport_ = driver.Run(static_cast<int16_t>(index), paths);
    busy_ = false;
    showOutcome(lastReport_);
    emit batchFinished(lastReport_);
}

void MainWindow::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        savedHeader_ = PanelFrame1->HeaderText();
        PanelFrame1->setHeaderText(kBusyHeader);
        lnkOutputFolder->hide();
        lnkStop->show();
        lnkFailures->hide();
    } else {
        QApplication::restoreOverrideCursor();
        PanelFrame1->setHeaderText(savedHeader_);
        lnkStop->hide();
    }
}

void MainWindow::showProgress(int done, int accepted) {
    const QString text = batchnotice::Progress(done, accepted);
    setFooterNotice(text, text);
}

void MainWindow::showOutcome(const BatchReport& report) {
    lnkFailures->setVisible(!report.failures.isEmpty());
    if (failureList_ && failureList_->isVisible())
        showFailureList();  // the list open from the batch before shows this one's
    setFooterNotice(batchnotice::Outcome(report, false), batchnotice::Outcome(report, true));
    outputFolder_ = report.outputFolder;
    lnkOutputFolder->setVisible(batchnotice::OffersFolder(report));
    // A screen reader tells the outcome without the user going to look for it.
    QAccessibleEvent alert(BatchNotice, QAccessible::Alert);
    accessnotice::Send(&alert);
}

void MainWindow::setFooterNotice(const QString& shortText, const QString& fullText) {
    const QFontMetrics metrics(PanelFrame1->FooterTextFont());
    PanelFrame1->setFooterText(metrics.elidedText(
        shortText, Qt::ElideRight,
        !lnkFailures->isHidden() ? lnkFailures->x() - 8 : BatchNotice->width() - 8));
    BatchNotice->setToolTip(fullText);
    BatchNotice->setAccessibleName(fullText);
}

void MainWindow::openOutputFolder() {
    if (outputFolder_.isEmpty() || QDesktopServices::openUrl(QUrl::fromLocalFile(outputFolder_)))
        return;
    setFooterNotice(QStringLiteral("Impossibile aprire la cartella Elaborate"),
                    batchnotice::OpenFailed(QDir::toNativeSeparators(outputFolder_)));
}

void MainWindow::stopBatch() {
    if (!busy_)
        return;
    stopRequested_ = true;
    pending_.clear();
}
