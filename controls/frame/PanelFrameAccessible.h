#pragma once

#include <QAccessibleWidget>

class PanelFrame;

// What assistive technology sees of a PanelFrame: a grouping named by its header text whose
// state tells whether it is expanded or collapsed; an expandable frame can be toggled.
class PanelFrameAccessible : public QAccessibleWidget {
  public:
    explicit PanelFrameAccessible(PanelFrame* frame);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

  private:
    PanelFrame* frame() const;
};

// Makes every PanelFrame known to assistive technology; safe to call any number of times.
void InstallPanelFrameAccessible();
