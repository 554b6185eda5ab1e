#include "MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

#include "QualityChoices.h"
#include "SettingsFile.h"

namespace {
constexpr int kTwipsPerPixel = 15;
const char* const kCaptions[5] = {" 320x240 ", " 640x480 ", " 800x600 ", " 1024x768 ", " Custom "};
const char* const kIdleHeader = "Dimensione delle immagini";
const char* const kBusyHeader = "Elaborazione in corso...";
}  // namespace

QString MainWindow::DropTip() {
    return QString::fromUtf8("Trascina le immagini da ridimensionare all'interno della") +
           QString::fromUtf8(" finestra corrispondente alla grandezza desiderata.");
}

MainWindow::MainWindow(QString programFolder, QWidget* parent)
    : QWidget(parent), programFolder_(std::move(programFolder)) {
    setWindowTitle("Velmora. Tessaro  Vers. 2.0");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    PanelFrame1 = new QGroupBox(kIdleHeader, this);
    auto* grid = new QGridLayout(PanelFrame1);
    for (int i = 0; i < 5; ++i) {
        auto* caption = new QLabel(kCaptions[i], PanelFrame1);
        caption->setAlignment(Qt::AlignCenter);
        auto* target = new DropTarget(i, PanelFrame1);
        target->setObjectName(QString("Resizer_%1").arg(i));
        if (i < 4)
            target->setAccessibleName(
                QString("Trascina qui: %1").arg(QString(kCaptions[i]).trimmed()));
        target->setFixedSize(96, 72);
        connect(target, &DropTarget::filesDropped, this, &MainWindow::Resizer_OLEDragDrop);
        Resizer[static_cast<size_t>(i)] = target;
        grid->addWidget(caption, 0, i);
        grid->addWidget(target, 1, i);
    }

    auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
    Text1 = new QLineEdit("1280", PanelFrame1);
    Text2 = new QLineEdit("960", PanelFrame1);
    Text1->setToolTip("Larghezza immagine");
    Text2->setToolTip("Altezza immagine");
    // The custom target's name tells a screen reader the size it resizes to now.
    const auto nameCustomTarget = [this] {
        Resizer[4]->setAccessibleName(
            QString("Trascina qui: %1x%2 (personalizzata)").arg(Text1->text(), Text2->text()));
    };
    connect(Text1, &QLineEdit::textChanged, this, nameCustomTarget);
    connect(Text2, &QLineEdit::textChanged, this, nameCustomTarget);
    nameCustomTarget();
    for (QLineEdit* box : {Text1, Text2}) {
        box->setValidator(digits);
        box->setMaximumWidth(60);
    }
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addStretch();
    sizeRow->addWidget(Text1);
    sizeRow->addWidget(new QLabel("x", PanelFrame1));
    sizeRow->addWidget(Text2);
    grid->addLayout(sizeRow, 2, 4);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PanelFrame1);
    Form_Load();
}

void MainWindow::Form_Load() {
    for (DropTarget* t : Resizer)
        t->setToolTip(DropTip());
    settingsfile::LoadSettings(programFolder_, settings_);
    qualitychoices::ApplyStartupDefaults(settings_);
    if (settings_.FormLeft >= 0) {
        move(settings_.FormLeft / kTwipsPerPixel, settings_.FormTop / kTwipsPerPixel);
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(sizeHint().width() / 2, sizeHint().height() / 2));
    }
    setWindowFlag(Qt::WindowStaysOnTopHint, settings_.StayOnTop);
}

QString MainWindow::HeaderText() const {
    return PanelFrame1->title();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    settings_.FormLeft =
        static_cast<int32_t>(std::nearbyint(static_cast<double>(x()) * kTwipsPerPixel));
    settings_.FormTop =
        static_cast<int32_t>(std::nearbyint(static_cast<double>(y()) * kTwipsPerPixel));
    settingsfile::SaveSettings(programFolder_, settings_);
    event->accept();
}

void MainWindow::Resizer_OLEDragDrop(int index, const QStringList& paths) {
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
    host.showPreview = [this](int i, const QImage& source) { target(i)->showPreview(source); };
    busy_ = true;
    BatchDriver driver(programFolder_, settings_, host);
    driver.setCustomSize(Text1->text(), Text2->text());
    lastReport_ = driver.Run(static_cast<int16_t>(index), paths);
    busy_ = false;
    emit batchFinished(lastReport_);
}

void MainWindow::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        savedHeader_ = PanelFrame1->title();
        PanelFrame1->setTitle(kBusyHeader);
    } else {
        QApplication::restoreOverrideCursor();
        PanelFrame1->setTitle(savedHeader_);
    }
}
