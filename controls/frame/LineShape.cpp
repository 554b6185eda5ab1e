#include "LineShape.h"

#include <QPainter>

LineShape::LineShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setEndPoints({0, 0}, {0, 0});
}

void LineShape::setEndPoints(QPoint from, QPoint to) {
    from_ = from;
    to_ = to;
    // The widget only spans the line; the end points stay in the parent's coordinates.
    setGeometry(QRect(from, to).normalized().adjusted(0, 0, 1, 1));
    update();
}

void LineShape::setBorderColor(const QColor& colour) {
    colour_ = colour;
    update();
}

void LineShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(colour_);
    painter.drawLine(from_ - pos(), to_ - pos());
}
