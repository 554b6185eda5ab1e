#include "Hyperlink.h"

#include <QDesktopServices>
#include <QUrl>

bool Hyperlink::OpenURL() const {
    return QDesktopServices::openUrl(QUrl::fromUserInput(url_));
}

bool Hyperlink::Mail() const {
    return QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + url_));
}
