#include "ThemedButtonAccessible.h"

#include <QKeySequence>
#include <mutex>

#include "AccessibleNotice.h"
#include "ThemedButton.h"

namespace {

constexpr int32_t kPressedState = 3;
constexpr int32_t kToggleType = 1;

// Where SetAccessibleChecked keeps the state a host shows; absent until the first call.
const char* const kHostChecked = "tessaroHostChecked";

bool IsToggle(const ThemedButton* b) {
    return b->ButtonType() == kToggleType;
}

bool HasHostState(const ThemedButton* b) {
    return b->property(kHostChecked).isValid();
}

bool IsCheckable(const ThemedButton* b) {
    return IsToggle(b) || HasHostState(b);
}

bool IsChecked(const ThemedButton* b) {
    return IsToggle(b) ? b->Value() : b->property(kHostChecked).toBool();
}

// Tells listeners what changed; the button's own notifications name the property.
void AnnounceChange(ThemedButton* b, const QString& property) {
    if (property == QLatin1String("Caption")) {
        QAccessibleEvent e(b, QAccessible::NameChanged);
        accessnotice::Send(&e);
    } else if (property == QLatin1String("ToolTipText")) {
        QAccessibleEvent e(b, QAccessible::DescriptionChanged);
        accessnotice::Send(&e);
    } else if (property == QLatin1String("Value") || property == QLatin1String("Enabled") ||
               property == QLatin1String("ButtonType")) {
        QAccessible::State changed;
        changed.checked = true;
        changed.checkable = true;
        changed.disabled = true;
        QAccessibleStateChangeEvent e(b, changed);
        accessnotice::Send(&e);
    }
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className != QLatin1String("ThemedButton"))
        return nullptr;
    auto* b = qobject_cast<ThemedButton*>(object);
    if (!b)
        return nullptr;
    // Made once per button (the interface is cached), so this connects once.
    QObject::connect(b, &ThemedButton::PropertyChanged, b,
                     [b](const QString& name) { AnnounceChange(b, name); });
    return new ThemedButtonAccessible(b);
}

}  // namespace

ThemedButtonAccessible::ThemedButtonAccessible(ThemedButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

ThemedButton* ThemedButtonAccessible::button() const {
    return static_cast<ThemedButton*>(widget());
}

QString ThemedButtonAccessible::SpokenCaption(const QString& caption) {
    QString spoken;
    spoken.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption.at(i);
        if (c == u'&') {
            if (i + 1 < caption.size() && caption.at(i + 1) == u'&') {
                spoken += u'&';
                ++i;
            }
            continue;
        }
        if (c == u'\r') {
            if (i + 1 < caption.size() && caption.at(i + 1) == u'\n')
                ++i;
            spoken += u' ';
        } else if (c == u'\n') {
            spoken += u' ';
        } else {
            spoken += c;
        }
    }
    return spoken;
}

QAccessible::Role ThemedButtonAccessible::role() const {
    // The desktop's bridge tells a check box's state aloud; a push button's it keeps quiet.
    return IsCheckable(button()) ? QAccessible::CheckBox : QAccessible::Button;
}

QString ThemedButtonAccessible::text(QAccessible::Text t) const {
    switch (t) {
        case QAccessible::Name: {
            // A name the host gave the widget for assistive technology comes first; a button
            // showing only its icon is named by its tooltip.
            if (const QString own = widget()->accessibleName(); !own.isEmpty())
                return own;
            if (const QString caption = SpokenCaption(button()->Caption()); !caption.isEmpty())
                return caption;
            return button()->ToolTipTitle().isEmpty() ? button()->ToolTipText()
                                                      : button()->ToolTipTitle();
        }
        case QAccessible::Description: {
            const QString own = widget()->accessibleDescription();
            return own.isEmpty() ? button()->ToolTipText() : own;
        }
        case QAccessible::Accelerator:
            return QKeySequence::mnemonic(button()->Caption()).toString(QKeySequence::NativeText);
        default:
            return QAccessibleWidget::text(t);
    }
}

QAccessible::State ThemedButtonAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    const ThemedButton* b = button();
    s.pressed = b->InteractionState() == kPressedState;
    if (IsCheckable(b)) {
        s.checkable = true;
        s.checked = IsChecked(b);
    }
    s.focused = s.focused || b->HasFocusFlag();
    s.disabled = s.disabled || !b->isEnabled();
    return s;
}

QStringList ThemedButtonAccessible::actionNames() const {
    QStringList names;
    if (button()->isEnabled()) {
        names << pressAction();
        if (IsCheckable(button()))
            names << toggleAction();
    }
    return names + QAccessibleWidget::actionNames();
}

void ThemedButtonAccessible::doAction(const QString& actionName) {
    if (!button()->isEnabled())
        return;
    if (actionName == pressAction() || (actionName == toggleAction() && IsCheckable(button()))) {
        try {
            button()->accessKeyAction();
        } catch (...) {
            // Like every handler of the button: a failed step leaves the control running.
        }
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QStringList ThemedButtonAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == pressAction()) {
        const QKeySequence key = QKeySequence::mnemonic(button()->Caption());
        if (!key.isEmpty())
            return {key.toString(QKeySequence::NativeText)};
    }
    return QAccessibleWidget::keyBindingsForAction(actionName);
}

void SetAccessibleChecked(ThemedButton* button, bool checked) {
    const QVariant before = button->property(kHostChecked);
    if (before.isValid() && before.toBool() == checked)
        return;
    button->setProperty(kHostChecked, checked);
    QAccessible::State changed;
    changed.checked = true;
    changed.checkable = !before.isValid();
    QAccessibleStateChangeEvent e(button, changed);
    accessnotice::Send(&e);
}

void InstallThemedButtonAccessible() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(Factory); });
}
