#include "DropTarget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "FileName.h"
#include "PointStretch.h"

DropTarget::DropTarget(int index, QWidget* parent) : QLabel(parent), index_(index) {
    setAcceptDrops(true);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setMinimumSize(64, 48);
    setAlignment(Qt::AlignCenter);
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
