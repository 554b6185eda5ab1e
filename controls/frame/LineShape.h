#pragma once

#include <QPoint>
#include <QWidget>

// A line control: drawn between two end points in its parent's coordinates rather than
// placed by a position and size. The frame's child layout leaves it alone.
class LineShape : public QWidget {
    Q_OBJECT
  public:
    explicit LineShape(QWidget* parent = nullptr);

    QPoint X1Y1() const { return from_; }
    QPoint X2Y2() const { return to_; }
    void setEndPoints(QPoint from, QPoint to);

    QColor BorderColor() const { return colour_; }
    void setBorderColor(const QColor& colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPoint from_;
    QPoint to_;
    QColor colour_{Qt::black};
};
