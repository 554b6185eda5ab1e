#include "ModalWait.h"

#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace {

// Ends the loop when the panel itself is hidden; a hide that only follows its window (the
// window being minimised or closed) leaves the panel open.
class HideWatcher : public QObject {
  public:
    HideWatcher(QWidget* panel, QEventLoop* loop) : panel_(panel), loop_(loop) {
        panel->installEventFilter(this);
        connect(panel, &QObject::destroyed, loop, &QEventLoop::quit);
    }
    ~HideWatcher() override {
        if (panel_)
            panel_->removeEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == panel_ && event->type() == QEvent::Hide && panel_->isHidden())
            loop_->quit();
        return false;
    }

  private:
    QPointer<QWidget> panel_;
    QEventLoop* loop_;
};

}  // namespace

void WaitWhileShown(QWidget* panel) {
    if (!panel || panel->isHidden())
        return;
    QEventLoop loop;
    HideWatcher watcher(panel, &loop);
    loop.exec();
}
