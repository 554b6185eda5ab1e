#include "DropTargetAccessible.h"

#include <QKeySequence>
#include <QMetaObject>
#include <mutex>

#include "DropTarget.h"

namespace {

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className != QLatin1String("DropTarget"))
        return nullptr;
    auto* target = qobject_cast<DropTarget*>(object);
    return target ? new DropTargetAccessible(target) : nullptr;
}

}  // namespace

DropTargetAccessible::DropTargetAccessible(DropTarget* target)
    : QAccessibleWidget(target, QAccessible::Button) {}

DropTarget* DropTargetAccessible::target() const {
    return static_cast<DropTarget*>(widget());
}

QString DropTargetAccessible::Description() {
    return QString::fromUtf8(
        "Trascina qui le immagini .bmp, .gif o .jpg da ridimensionare, oppure premi Invio per "
        "sceglierle.");
}

QString DropTargetAccessible::text(QAccessible::Text t) const {
    switch (t) {
        case QAccessible::Name:
            return widget()->accessibleName();
        case QAccessible::Description: {
            const QString own = widget()->accessibleDescription();
            return own.isEmpty() ? Description() : own;
        }
        default:
            return QAccessibleWidget::text(t);
    }
}

QStringList DropTargetAccessible::actionNames() const {
    QStringList names;
    if (widget()->isEnabled())
        names << pressAction();
    return names + QAccessibleWidget::actionNames();
}

void DropTargetAccessible::doAction(const QString& actionName) {
    if (actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    if (!widget()->isEnabled())
        return;
    // The chooser is modal; opened later, it does not hold up the caller's request.
    QMetaObject::invokeMethod(target(), &DropTarget::chooseFiles, Qt::QueuedConnection);
}

QStringList DropTargetAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == pressAction())
        return {QKeySequence(Qt::Key_Return).toString(QKeySequence::NativeText),
                QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText)};
    return QAccessibleWidget::keyBindingsForAction(actionName);
}

void InstallDropTargetAccessible() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(Factory); });
}
