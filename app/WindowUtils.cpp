#include "WindowUtils.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVariant>
#include <QWidget>

namespace WindowUtils {

namespace {
constexpr const char* kStyleProperty = "windowStyle";
}

uint32_t WindowStyle(const QWidget* window) {
    return window ? window->property(kStyleProperty).toUInt() : 0;
}

void AddWindowStyle(QWidget* window, uint32_t bits) {
    if (!window)
        return;
    const uint32_t style = WindowStyle(window) | bits;
    window->setProperty(kStyleProperty, style);
    if (auto* edit = qobject_cast<QLineEdit*>(window); edit && (style & ES_NUMBER)) {
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    }
}

void SetTopMost(QWidget* window, bool flag) {
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == flag)
        return;
    // Changing a window flag gives the window a new native window, which starts hidden and
    // wherever the window system puts it.
    const bool wasVisible = window->isVisible();
    const QPoint framePosition = window->frameGeometry().topLeft();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, flag);
    window->move(framePosition);
    if (wasVisible)
        window->show();
}

}  // namespace WindowUtils
