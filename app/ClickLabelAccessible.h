#pragma once

#include <QAccessibleWidget>

class ClickLabel;

// What assistive technology sees of a ClickLabel: a link named by its text, described by its
// tooltip, whose press action clicks it.
class ClickLabelAccessible : public QAccessibleWidget {
  public:
    explicit ClickLabelAccessible(ClickLabel* label);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

  private:
    ClickLabel* label() const;
};

// Makes every ClickLabel known to assistive technology; safe to call any number of times.
void InstallClickLabelAccessible();
