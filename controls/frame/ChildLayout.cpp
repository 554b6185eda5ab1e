#include "ChildLayout.h"

#include <QString>
#include <QVariant>
#include <QWidget>
#include <cmath>
#include <exception>
#include <functional>

#include "CheckedMath.h"
#include "LineShape.h"

namespace childlayout {

namespace {

enum class Edge { Left, Top, Width, Height };

// The furthest a child may be placed or sized; beyond it Qt's own geometry overflows.
constexpr double kMaxExtent = QWIDGETSIZE_MAX;

double read(const QWidget* c, Edge edge) {
    switch (edge) {
        case Edge::Left:
            return c->x();
        case Edge::Top:
            return c->y();
        case Edge::Width:
            return c->width();
        case Edge::Height:
            return c->height();
    }
    return 0;
}

// The child takes the value with its own conversion: rounded to whole pixels, halves to
// even. A value it cannot hold (not finite, out of range, a negative size) is refused.
bool write(QWidget* c, Edge edge, double value) {
    if (!std::isfinite(value))
        return false;
    const double v = std::nearbyint(value);
    const bool isSize = edge == Edge::Width || edge == Edge::Height;
    if (v > kMaxExtent || v < (isSize ? 0.0 : -kMaxExtent))
        return false;
    const int n = static_cast<int>(v);
    switch (edge) {
        case Edge::Left:
            c->move(n, c->y());
            break;
        case Edge::Top:
            c->move(c->x(), n);
            break;
        case Edge::Width:
            c->resize(n, c->height());
            break;
        case Edge::Height:
            c->resize(c->width(), n);
            break;
    }
    return true;
}

// Runs one step; a failure skips only that step.
void guarded(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

void grow(QWidget* c, Edge edge, double byPixels) {
    write(c, edge, read(c, edge) + byPixels);
}

void scale(QWidget* c, Edge edge, int32_t current, int32_t reference) {
    if (reference == 0)
        return;  // division by zero: the child keeps its value
    write(c, edge, current * (read(c, edge) / reference));
}

}  // namespace

bool layoutTag(const QString& tag, QChar& horizontal, QChar& vertical) {
    const qsizetype p = tag.indexOf(QLatin1Char('~'));
    if (p < 0 || tag.size() != p + 3)
        return false;
    horizontal = tag.at(p + 1);
    vertical = tag.at(p + 2);
    return true;
}

void layoutPass(const QList<QWidget*>& children, double widthTwips, double heightTwips,
                LayoutReference& reference) {
    using tessaro::checked::round32;
    int32_t dH = 0;
    int32_t dW = 0;
    int32_t W = 0;
    int32_t H = 0;
    guarded([&] { dH = round32(heightTwips - reference.height); });
    guarded([&] { dW = round32(widthTwips - reference.width); });
    guarded([&] { W = round32(widthTwips); });
    guarded([&] { H = round32(heightTwips); });
    const double dWPixels = dW / kTwipsPerPixel;
    const double dHPixels = dH / kTwipsPerPixel;

    for (QWidget* c : children) {
        if (c == nullptr || qobject_cast<LineShape*>(c) != nullptr)
            continue;
        QString tag;
        const QVariant stored = c->property("Tag");
        if (stored.canConvert<QString>())
            tag = stored.toString();
        QChar h;
        QChar v;
        if (!layoutTag(tag, h, v))
            continue;

        if (h == QLatin1Char('L')) {
            guarded([&] { grow(c, Edge::Left, dWPixels); });
        } else if (h == QLatin1Char('R')) {
            guarded([&] { grow(c, Edge::Width, dWPixels); });
        } else if (h == QLatin1Char('+')) {
            guarded([&] { scale(c, Edge::Left, W, reference.width); });
            guarded([&] { scale(c, Edge::Width, W, reference.width); });
        }
        if (v == QLatin1Char('T')) {
            guarded([&] { grow(c, Edge::Top, dHPixels); });
        } else if (v == QLatin1Char('B')) {
            guarded([&] { grow(c, Edge::Height, dHPixels); });
        } else if (v == QLatin1Char('+')) {
            guarded([&] { scale(c, Edge::Height, H, reference.height); });
            guarded([&] { scale(c, Edge::Top, H, reference.height); });
        }
    }
    guarded([&] { reference.width = round32(widthTwips); });
    guarded([&] { reference.height = round32(heightTwips); });
}

}  // namespace childlayout
