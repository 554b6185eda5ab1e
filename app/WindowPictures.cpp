#include "WindowPictures.h"

#include <QString>

// Resources in a static library are registered by hand.
static void RegisterPictures() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    static_cast<void>(registered);
}

namespace windowpictures {

namespace {
QImage load(const char* name) {
    RegisterPictures();
    return QImage(QString(":/pictures/") + QString::fromLatin1(name));
}
}  // namespace

QImage Decoration() {
    return load("decoration.png");
}

QImage Help() {
    return load("help.png");
}

QImage ToggleMark() {
    return load("toggle-mark.png");
}

}  // namespace windowpictures
