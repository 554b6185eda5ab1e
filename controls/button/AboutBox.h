#pragma once

#include <QString>
#include <QWidget>

namespace tessaro::button {

// The control's about window: a floating, always-on-top window with the control's name, its
// version, the makers and their web address, and a "Close" box that a click on the window
// answers by hiding it.
class AboutBox : public QWidget {
  public:
    static constexpr int kWidth = 370;
    static constexpr int kHeight = 116;
    // The "Close" box: pixels 290..360 across, 80..106 down.
    static constexpr QRect kCloseBox{290, 80, 70, 26};

    AboutBox(QWidget* owner, QString version);

    void showAbout();
    bool closeBoxPressed() const { return pressed_; }

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    QString version_;
    bool pressed_ = false;
};

}  // namespace tessaro::button
