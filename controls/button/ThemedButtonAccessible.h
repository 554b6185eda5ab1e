#pragma once

#include <QAccessibleWidget>
#include <QString>

class ThemedButton;

// What assistive technology sees of a ThemedButton: a push button named by its caption
// without the access-key marker (by its tooltip when it has no caption), described by its
// tooltip text, with its pressed, checked
// (a toggle's Value), focused and disabled states and a press action that clicks it the way
// its access key does (one Click; a toggle changes its Value).
class ThemedButtonAccessible : public QAccessibleWidget {
  public:
    explicit ThemedButtonAccessible(ThemedButton* button);

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

// Makes every ThemedButton known to assistive technology; safe to call any number of times.
void InstallThemedButtonAccessible();
