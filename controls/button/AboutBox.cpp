#include "AboutBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "ColourOps.h"
#include "PixelPainter.h"
#include "SystemColour.h"

namespace tessaro::button {

namespace {

const char* const kAuthor = "Velmora Tessaro developers";
const char* const kAddress = "https://velmora.example/tessaro";

QFont sized(const QFont& base, int points, bool bold = false, bool underline = false) {
    QFont f = base;
    f.setPointSize(points);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

}  // namespace

AboutBox::AboutBox(QWidget* owner, QString version)
    : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint), version_(std::move(version)) {
    setWindowTitle(QStringLiteral("About ThemedButton ") + version_);
    resize(kWidth, kHeight);
}

void AboutBox::showAbout() {
    pressed_ = false;
    show();
    raise();
}

void AboutBox::paintEvent(QPaintEvent*) {
    const uint32_t face = translate(syscolour::reference(syscolour::kButtonFace));
    QImage canvas(size(), QImage::Format_RGB32);
    canvas.fill(toQColor(face));
    {
        // The close box: a gradient between the face lightened and darkened by 15, running
        // downwards normally and upwards while pressed, framed in the shadow colour.
        PixelPainter pp(canvas);
        const QRect b = kCloseBox;
        const uint32_t light = shift(face, 15);
        const uint32_t dark = shift(face, -15);
        pp.gradientStrip(pressed_ ? dark : light, pressed_ ? light : dark, b.left(), b.top(),
                         b.right() + 1, b.height() - 1);
        pp.outline(b.left(), b.top(), b.width() - 1, b.height() - 1,
                   translate(syscolour::reference(syscolour::kButtonShadow)));
    }
    QPainter p(&canvas);
    const QColor text = toQColor(translate(syscolour::reference(syscolour::kButtonText)));
    p.setPen(text);
    p.setFont(sized(font(), 18));
    p.drawText(QRect(10, 4, 350, 34), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("ThemedButton"));
    p.setFont(sized(font(), 10));
    p.drawText(QRect(10, 38, 350, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Version ") + version_);
    p.setFont(sized(font(), 9, true));
    p.drawText(QRect(10, 60, 270, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromLatin1(kAuthor));
    p.setFont(sized(font(), 9));
    p.drawText(QRect(10, 80, 270, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromLatin1(kAddress));
    p.setFont(sized(font(), 8, false, true));
    p.setPen(QColor(0, 0, 255));
    p.drawText(kCloseBox, Qt::AlignCenter, QStringLiteral("Close"));
    p.end();
    QPainter(this).drawImage(0, 0, canvas);
}

void AboutBox::mousePressEvent(QMouseEvent*) {
    pressed_ = true;
    update();
}

void AboutBox::mouseReleaseEvent(QMouseEvent*) {
    pressed_ = false;
    hide();
}

}  // namespace tessaro::button
