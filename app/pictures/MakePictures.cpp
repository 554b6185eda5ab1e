// Draws the window's pictures into a folder:
//   QT_QPA_PLATFORM=offscreen tessaro_make_pictures app/pictures
// The PNG files it writes are kept in the repository and built into the program; run it again
// only to change them.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "HelpText.h"

namespace {

// A fixed pseudo-random sequence, so that every run draws the same tiles.
class Sequence {
  public:
    // -1 .. 1
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<double>(state_ % 20001) / 10000.0 - 1.0;
    }

  private:
    uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

QColor mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                            a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

double bump(double u, double centre, double width) {
    const double d = (u - centre) / width;
    return std::exp(-d * d);
}

// A sunset over the sea with hills on the left, as the mosaic's tiles sample it.
QColor scene(double u, double v) {
    constexpr double horizon = 0.60;
    const double sunU = 0.68;
    const double sunV = 0.50;
    const double hill = horizon - 0.22 * bump(u, 0.10, 0.22) - 0.10 * bump(u, 0.38, 0.12);
    if (v < horizon) {
        if (v > hill)
            return mix(QColor(52, 40, 78), QColor(34, 28, 60), (v - hill) / 0.2);
        QColor sky = v < 0.30 ? mix(QColor(22, 36, 98), QColor(112, 72, 140), v / 0.30)
                              : mix(QColor(112, 72, 140), QColor(246, 150, 72),
                                    (v - 0.30) / (horizon - 0.30));
        const double d = std::hypot((u - sunU) * 1.3, v - sunV);
        if (d < 0.085)
            return mix(QColor(255, 236, 140), QColor(255, 196, 80), d / 0.085);
        return mix(QColor(255, 190, 100), sky, (d - 0.085) / 0.16);
    }
    const double depth = (v - horizon) / (1.0 - horizon);
    QColor sea = mix(QColor(70, 92, 150), QColor(14, 28, 66), depth);
    // The sun's path on the water narrows towards the horizon and breaks into ripples.
    const double path = 0.03 + 0.10 * depth;
    const double ripple = 0.5 + 0.5 * std::sin(v * 160.0 + std::sin(u * 40.0) * 2.0);
    const double glow = bump(u, sunU, path) * ripple * (1.0 - 0.6 * depth);
    // Light adds to the water's colour rather than mixing into grey.
    return QColor::fromRgbF(std::min(1.0, sea.redF() + glow * 0.95),
                            std::min(1.0, sea.greenF() + glow * 0.62),
                            std::min(1.0, sea.blueF() + glow * 0.25));
}

QImage decoration() {
    constexpr int width = 540;
    constexpr int height = 416;
    constexpr int tile = 9;
    constexpr int gap = 2;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(206, 200, 188));  // the grout
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    Sequence random;
    for (int row = 0; row * (tile + gap) < height; ++row) {
        const int y = row * (tile + gap);
        // Rows are laid like bricks, each one half a tile on from the last.
        const int shift = (row % 2) ? -(tile + gap) / 2 : 0;
        for (int x = shift; x < width; x += tile + gap) {
            const double w = tile + random.next();
            const double h = tile + random.next();
            const double cx = x + w / 2.0;
            const double cy = y + h / 2.0;
            QColor c = scene(cx / width, cy / height);
            const double shade = 1.0 + 0.07 * random.next();
            c = QColor::fromRgbF(std::clamp(c.redF() * shade, 0.0, 1.0),
                                 std::clamp(c.greenF() * shade, 0.0, 1.0),
                                 std::clamp(c.blueF() * shade, 0.0, 1.0));
            p.setBrush(c);
            p.drawRoundedRect(QRectF(x + 0.5 * random.next(), y + 0.5 * random.next(), w, h), 2, 2);
        }
    }
    return image;
}

QImage help() {
    constexpr int width = 540;
    constexpr int height = 405;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(251, 247, 238));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    p.fillRect(QRect(0, 0, width, 46), QColor(34, 60, 120));
    p.setPen(QPen(QColor(150, 126, 88), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, width - 2, height - 2));

    QFont title("DejaVu Sans");
    title.setPixelSize(20);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(18, 0, width - 36, 46), Qt::AlignVCenter | Qt::AlignLeft, helptext::Title());

    QFont body("DejaVu Sans");
    body.setPixelSize(13);
    QFont number = body;
    number.setBold(true);
    QTextOption wrap;
    wrap.setWrapMode(QTextOption::WordWrap);
    int y = 60;
    int n = 1;
    for (const QString& text : helptext::Steps()) {
        const QRect badge(18, y, 22, 22);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(214, 120, 48));
        p.drawEllipse(badge);
        p.setFont(number);
        p.setPen(Qt::white);
        p.drawText(badge, Qt::AlignCenter, QString::number(n++));

        p.setFont(body);
        p.setPen(QColor(40, 36, 32));
        const QRectF box(52, y + 2, width - 52 - 20, 200);
        const QRectF used = p.boundingRect(box, text, wrap);
        p.drawText(box, text, wrap);
        y += std::max(26, static_cast<int>(std::ceil(used.height())) + 10);
    }

    QFont closing("DejaVu Sans");
    closing.setPixelSize(13);
    closing.setItalic(true);
    p.setFont(closing);
    p.setPen(QColor(34, 60, 120));
    p.drawText(QRect(18, height - 48, 380, 30), Qt::AlignVCenter | Qt::AlignLeft,
               helptext::Closing());
    return image;
}

QImage toggleMark() {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(38, 140, 74));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QPainterPath tick;
    tick.moveTo(3.5, 8.5);
    tick.lineTo(6.5, 11.5);
    tick.lineTo(12.5, 4.5);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    return image;
}

bool save(const QImage& image, const QDir& folder, const char* name) {
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "tessaro_make_pictures: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaro_make_pictures FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool ok = save(decoration(), folder, "decoration.png") &&
                    save(help(), folder, "help.png") &&
                    save(toggleMark(), folder, "toggle-mark.png");
    return ok ? 0 : 1;
}
