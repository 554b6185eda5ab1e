#pragma once

#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>

class QEvent;

namespace tessaro::hook {

// The leave and hover requests of one widget (see MouseTracking.h). It learns where the
// pointer is from the widget's events, which its chain shows it before anything else.
class PointerTracker {
  public:
    explicit PointerTracker(QWidget* window);

    void observe(const QEvent& event);
    void track(uint32_t flags, uint32_t hoverTimeMs);

    bool inside() const { return inside_; }

  private:
    void setInside(bool inside);
    void hoverElapsed();

    QPointer<QWidget> window_;
    bool inside_;
    bool leaveArmed_ = false;
    bool hoverArmed_ = false;
    int hoverTimeMs_ = 0;
    QPoint lastPos_;
    int32_t lastKeys_ = 0;
    QTimer hoverTimer_;
};

}  // namespace tessaro::hook
