#include "DropTarget.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

#include "DropTargetAccessible.h"
#include "FileName.h"
#include "PointStretch.h"
#include "ProgramFolder.h"

namespace {

// The extensions a batch accepts, in both cases: the chooser's filter is case-sensitive here.
const char* const kPictureFilter =
    "Immagini .bmp, .gif, .jpg (*.bmp *.gif *.jpg *.BMP *.GIF *.JPG);;Tutti i file (*)";

QStringList DesktopChooser(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileNames(parent, QString::fromUtf8("Scegli le immagini"), folder,
                                         QString::fromUtf8(kPictureFilter));
}

DropTarget::FileChooser& CurrentChooser() {
    static DropTarget::FileChooser chooser = DesktopChooser;
    return chooser;
}

// The ring stands out on the sunken frame and on any preview beneath it.
constexpr int kRingWidth = 3;

}  // namespace

DropTarget::DropTarget(int index, QWidget* parent) : QLabel(parent), index_(index) {
    InstallDropTargetAccessible();
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setMinimumSize(64, 48);
    setAlignment(Qt::AlignCenter);
}

void DropTarget::SetFileChooser(FileChooser chooser) {
    CurrentChooser() = chooser ? std::move(chooser) : FileChooser(DesktopChooser);
}

QString DropTarget::ChooserHint() {
    return QString::fromUtf8("Invio, Spazio o doppio clic: sceglie i file da ridimensionare.");
}

void DropTarget::chooseFiles() {
    QString folder = programfolder::PicturesFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    // A copy: the chooser runs its own event loop, in which a test may replace the hook.
    const FileChooser chooser = CurrentChooser();
    const QStringList paths = chooser(window(), folder);
    if (!paths.isEmpty())
        emit filesDropped(index_, paths);
}

void DropTarget::showPreview(const QImage& source) {
    // The preview fills the target and does not keep proportions.
    const QSize area = contentsRect().size();
    if (area.isEmpty() || source.isNull())
        return;
    setPixmap(QPixmap::fromImage(PointStretch(source, area.width(), area.height())));
}

void DropTarget::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void DropTarget::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void DropTarget::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        // From the URL's own bytes: a name that is not UTF-8 keeps them (FileName.h).
        if (url.isLocalFile())
            paths << filename::FromBytes(
                QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
    }
    if (paths.isEmpty())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit filesDropped(index_, paths);
}

void DropTarget::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (!event->isAutoRepeat())
                chooseFiles();
            event->accept();
            break;
        default:
            QLabel::keyPressEvent(event);
            break;
    }
}

void DropTarget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    chooseFiles();
}

void DropTarget::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // The focused target is ringed in a deep shade of the highlight colour, which stands out
    // on the light panel, with a light edge inside it so that it shows over a dark preview.
    QPainter p(this);
    const QRectF ring = QRectF(rect()).adjusted(kRingWidth / 2.0, kRingWidth / 2.0,
                                                -kRingWidth / 2.0, -kRingWidth / 2.0);
    p.setPen(QPen(palette().color(QPalette::Highlight).darker(220), kRingWidth));
    p.drawRect(ring);
    p.setPen(QPen(palette().color(QPalette::Base), 1));
    p.drawRect(QRectF(rect()).adjusted(kRingWidth + 0.5, kRingWidth + 0.5, -kRingWidth - 0.5,
                                       -kRingWidth - 0.5));
}
