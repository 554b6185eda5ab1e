#include "WindowUtils.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVariant>
#include <QWidget>
#include <QWindow>

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
    QWindow* native = window->windowHandle();
    if (!native) {
        // No native window yet: the flag goes with the one that show() creates.
        window->setWindowFlag(Qt::WindowStaysOnTopHint, flag);
        return;
    }
    // QWidget::setWindowFlags would give the window a new native window: it flickers, and
    // the window manager may place the new one elsewhere. The platform window changes the
    // state of the one it has (on X11, _NET_WM_STATE_ABOVE), so the widget only records it.
    native->setFlag(Qt::WindowStaysOnTopHint, flag);
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, flag);
    window->overrideWindowFlags(flags);
}

}  // namespace WindowUtils
