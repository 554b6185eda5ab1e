#include "PanelFrameAccessible.h"

#include <QEvent>
#include <mutex>

#include "PanelFrame.h"

namespace {

// Watches a frame for what assistive technology is told about: the header text changing and
// the frame collapsing or expanding (which always resizes it).
class FrameWatcher : public QObject {
  public:
    explicit FrameWatcher(PanelFrame* frame) : QObject(frame), frame_(frame) {
        collapsed_ = frame->isCollapsed();
        connect(frame, &PanelFrame::PropertyChanged, this, [this](const QString& name) {
            if (name == QLatin1String("HeaderText")) {
                QAccessibleEvent e(frame_, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&e);
            }
        });
        frame->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The frame resizes before it records the new state: look once it has.
        if (watched == frame_ && event->type() == QEvent::Resize)
            QMetaObject::invokeMethod(this, &FrameWatcher::announceCollapse, Qt::QueuedConnection);
        return false;
    }

  private:
    void announceCollapse() {
        if (frame_->isCollapsed() == collapsed_)
            return;
        collapsed_ = frame_->isCollapsed();
        QAccessible::State changed;
        changed.expanded = true;
        changed.collapsed = true;
        QAccessibleStateChangeEvent e(frame_, changed);
        QAccessible::updateAccessibility(&e);
    }

    PanelFrame* frame_;
    bool collapsed_;
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className != QLatin1String("PanelFrame"))
        return nullptr;
    auto* frame = qobject_cast<PanelFrame*>(object);
    if (!frame)
        return nullptr;
    new FrameWatcher(frame);  // once per frame: the interface is cached
    return new PanelFrameAccessible(frame);
}

}  // namespace

PanelFrameAccessible::PanelFrameAccessible(PanelFrame* frame)
    : QAccessibleWidget(frame, QAccessible::Grouping) {}

PanelFrame* PanelFrameAccessible::frame() const {
    return static_cast<PanelFrame*>(widget());
}

QString PanelFrameAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) {
        const QString own = widget()->accessibleName();
        return own.isEmpty() ? frame()->HeaderText() : own;
    }
    return QAccessibleWidget::text(t);
}

QAccessible::State PanelFrameAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    const PanelFrame* f = frame();
    s.expandable = f->Expandable();
    s.collapsed = f->isCollapsed();
    s.expanded = !f->isCollapsed();
    // The frame stays enabled itself when disabled, so that it keeps reporting the mouse.
    s.disabled = s.disabled || !f->Enabled();
    return s;
}

QStringList PanelFrameAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (frame()->Expandable() && frame()->Enabled())
        names.prepend(toggleAction());
    return names;
}

void PanelFrameAccessible::doAction(const QString& actionName) {
    if (actionName != toggleAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    if (!frame()->Expandable() || !frame()->Enabled())
        return;
    if (frame()->isCollapsed())
        frame()->Expand();
    else
        frame()->Collapse();
}

void InstallPanelFrameAccessible() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(Factory); });
}
