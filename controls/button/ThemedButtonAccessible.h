#pragma once

#include <QAccessibleWidget>
#include <QString>

class ThemedButton;

// What assistive technology sees of a ThemedButton: a push button (a check box when it has a
// checked state, as Qt reads a checkable push button) named by its caption
// without the access-key marker (by its tooltip when it has no caption), described by its
// tooltip text, with its pressed, checked (a toggle's Value, or the state its host shows, see
// SetAccessibleChecked), focused and disabled states and a press action that clicks it the
// way its access key does (one Click; a toggle changes its Value).
class ThemedButtonAccessible : public QAccessibleWidget {
  public:
    explicit ThemedButtonAccessible(ThemedButton* button);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    // The caption as it reads: "&&" is one '&', any other '&' only marks the access key;
    // line breaks read as spaces.
    static QString SpokenCaption(const QString& caption);

  private:
    ThemedButton* button() const;
};

// For a button whose host shows an on/off state itself (an icon, say) instead of through a
// toggle's Value: from the first call it reads as checkable, checked as given, and offers the
// toggle action; a change of state is announced to listeners.
void SetAccessibleChecked(ThemedButton* button, bool checked);

// Makes every ThemedButton known to assistive technology; safe to call any number of times.
void InstallThemedButtonAccessible();
