#include "ClickLabelAccessible.h"

#include <QMetaObject>
#include <mutex>

#include "ClickLabel.h"

namespace {

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className != QLatin1String("ClickLabel"))
        return nullptr;
    auto* label = qobject_cast<ClickLabel*>(object);
    return label ? new ClickLabelAccessible(label) : nullptr;
}

}  // namespace

ClickLabelAccessible::ClickLabelAccessible(ClickLabel* label)
    : QAccessibleWidget(label, QAccessible::Link) {}

ClickLabel* ClickLabelAccessible::label() const {
    return static_cast<ClickLabel*>(widget());
}

QString ClickLabelAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) {
        const QString own = widget()->accessibleName();
        return own.isEmpty() ? label()->text() : own;
    }
    return QAccessibleWidget::text(t);
}

QAccessible::State ClickLabelAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.linked = true;
    return s;
}

QStringList ClickLabelAccessible::actionNames() const {
    QStringList names;
    if (widget()->isEnabled())
        names << pressAction();
    return names + QAccessibleWidget::actionNames();
}

void ClickLabelAccessible::doAction(const QString& actionName) {
    if (actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    if (!widget()->isEnabled())
        return;
    // Clicked after the caller's request returns, as a mouse click would be.
    ClickLabel* target = label();
    QMetaObject::invokeMethod(
        target, [target] { emit target->Click(); }, Qt::QueuedConnection);
}

void InstallClickLabelAccessible() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(Factory); });
}
