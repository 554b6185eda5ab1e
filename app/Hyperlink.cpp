#include "Hyperlink.h"

#include <QDesktopServices>
#include <QUrl>

void Hyperlink::OpenURL() const {
    QDesktopServices::openUrl(QUrl::fromUserInput(url_));
}

void Hyperlink::Mail() const {
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + url_));
}
