#pragma once

#include <QAccessibleWidget>

class DropTarget;

// What assistive technology sees of a drop target: a button named with its size (the name
// the window gives it), described as a place to drop pictures, whose press action opens the
// file chooser.
class DropTargetAccessible : public QAccessibleWidget {
  public:
    explicit DropTargetAccessible(DropTarget* target);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    static QString Description();

  private:
    DropTarget* target() const;
};

// Makes every DropTarget known to assistive technology; safe to call any number of times.
void InstallDropTargetAccessible();
