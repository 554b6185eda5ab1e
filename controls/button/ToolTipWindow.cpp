#include "ToolTipWindow.h"

#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>
#include <algorithm>

#include "SystemColour.h"

namespace tessaro::button {

namespace {

constexpr int kIconSize = 16;
constexpr int kIconGap = 6;
constexpr int kBalloonRadius = 7;
constexpr int kStemHeight = 14;
constexpr int kStemWidth = 14;
// The stem's upright edge sits this far in from the balloon's left side.
constexpr int kStemInset = 16;
// Below the pointer, out of the way of the arrow: as the desktop's own tooltips.
constexpr QPoint kRectangleOffset(2, 16);
constexpr int kBalloonDrop = 16;

int wakeUpDelay(const QWidget* w) {
    return w->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, w);
}

QRect availableScreen(const QWidget* owner, QPoint at) {
    const QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen)
        screen = owner->screen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
}

}  // namespace

ToolTipWindow::ToolTipWindow(QWidget* owner, uint32_t windowStyle)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput),
      style_(windowStyle),
      owner_(owner) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFont(QToolTip::font());
    setPalette(QToolTip::palette());
    qApp->installEventFilter(this);
}

ToolTipWindow::~ToolTipWindow() {
    qApp->removeEventFilter(this);
    if (owner_)
        owner_->removeEventFilter(this);
}

bool ToolTipWindow::addTool(const ToolRecord& tool) {
    if (tool.size != 44 || !tool.owner)
        return false;
    tool_ = tool;
    hasTool_ = true;
    if (tool_.flags & TTF_SUBCLASS) {
        tool_.owner->installEventFilter(this);
        // Made while the pointer is already over the owner: the wait starts now.
        if (tool_.owner->underMouse()) {
            lastMouse_ = QCursor::pos();
            showTimer_.start(wakeUpDelay(this), this);
        }
    }
    return true;
}

void ToolTipWindow::deleteTool(const ToolRecord& tool) {
    if (!hasTool_ || tool.owner != tool_.owner || tool.id != tool_.id)
        return;
    tool_.owner->removeEventFilter(this);
    hasTool_ = false;
    retire(false);
}

void ToolTipWindow::setTitle(int icon, const QString& title) {
    titleSet_ = true;
    titleIcon_ = icon;
    title_ = title;
}

void ToolTipWindow::setTextColour(uint32_t colour) {
    textColour_ = colour;
}

void ToolTipWindow::setBackgroundColour(uint32_t colour) {
    backgroundColour_ = colour;
}

QColor ToolTipWindow::effectiveTextColour() const {
    return textColour_ ? syscolour::toQColor(*textColour_) : palette().color(QPalette::ToolTipText);
}

QColor ToolTipWindow::effectiveBackgroundColour() const {
    return backgroundColour_ ? syscolour::toQColor(*backgroundColour_)
                             : palette().color(QPalette::ToolTipBase);
}

// --- watching the owner ---

bool ToolTipWindow::eventFilter(QObject* watched, QEvent* e) {
    if (!hasTool_)
        return false;
    // A key hides it, whichever widget takes the key (the button itself when focused).
    if (e->type() == QEvent::KeyPress) {
        retire(true);
        return false;
    }
    if (watched == tool_.owner) {
        switch (e->type()) {
            case QEvent::MouseMove: {
                const auto* me = static_cast<QMouseEvent*>(e);
                lastMouse_ = me->globalPosition().toPoint();
                if (!tool_.rect.contains(me->position().toPoint())) {
                    retire(false);
                } else if (!isVisible() && !dismissed_) {
                    // The pointer has to rest: every move starts the wait again.
                    showTimer_.start(wakeUpDelay(this), this);
                }
                break;
            }
            case QEvent::Leave:
            case QEvent::Hide:
                retire(false);
                dismissed_ = false;
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
                retire(true);
                break;
            default:
                break;
        }
    }
    return false;
}

void ToolTipWindow::retire(bool dismiss) {
    showTimer_.stop();
    hideTimer_.stop();
    if (dismiss)
        dismissed_ = true;
    if (isVisible())
        hide();
}

void ToolTipWindow::timerEvent(QTimerEvent* e) {
    if (e->timerId() == showTimer_.timerId()) {
        showTimer_.stop();
        popUp(lastMouse_);
    } else if (e->timerId() == hideTimer_.timerId()) {
        // Shown long enough: not again until the pointer comes back.
        retire(true);
    } else {
        QWidget::timerEvent(e);
    }
}

// --- layout ---

QString ToolTipWindow::displayText() const {
    QString t = tool_.text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

int ToolTipWindow::textFlags() const {
    int f = Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs | Qt::TextWordWrap;
    if (!(style_ & TTS_NOPREFIX))
        f |= Qt::TextShowMnemonic;
    return f;
}

QFont ToolTipWindow::titleFont() const {
    QFont f = font();
    f.setBold(true);
    return f;
}

QPixmap ToolTipWindow::titlePixmap() const {
    QStyle::StandardPixmap which;
    switch (titleIcon_) {
        case TTI_INFO:
            which = QStyle::SP_MessageBoxInformation;
            break;
        case TTI_WARNING:
            which = QStyle::SP_MessageBoxWarning;
            break;
        case TTI_ERROR:
            which = QStyle::SP_MessageBoxCritical;
            break;
        default:
            return {};
    }
    return style()->standardIcon(which, nullptr, this).pixmap(kIconSize, kIconSize);
}

int ToolTipWindow::titleRowHeight() const {
    if (!titleSet_)
        return 0;
    const int text = title_.isEmpty() ? 0 : QFontMetrics(titleFont()).height();
    const int icon = titlePixmap().isNull() ? 0 : kIconSize;
    return std::max(text, icon);
}

QSize ToolTipWindow::contentSize() const {
    const QRect screen = availableScreen(this, lastMouse_);
    const int maxWidth = std::max(50, screen.width() - 2 * margin() - 2);
    const QRect text = QFontMetrics(font()).boundingRect(QRect(0, 0, maxWidth, 1 << 16),
                                                         textFlags(), displayText());
    int width = text.width();
    int height = text.height();
    if (titleSet_) {
        int titleWidth = title_.isEmpty() ? 0 : QFontMetrics(titleFont()).horizontalAdvance(title_);
        if (!titlePixmap().isNull())
            titleWidth += kIconSize + (title_.isEmpty() ? 0 : kIconGap);
        width = std::max(width, titleWidth);
        height += titleRowHeight() + margin() / 2 + 2;
    }
    return {width, height};
}

void ToolTipWindow::placeRectangle(QPoint mouse, QSize content, const QRect& screen) {
    const QSize size = content + QSize(2 * margin(), 2 * margin());
    QPoint p = mouse + kRectangleOffset;
    if (p.x() + size.width() > screen.right() + 1)
        p.setX(screen.right() + 1 - size.width());
    if (p.y() + size.height() > screen.bottom() + 1)
        p.setY(mouse.y() - 8 - size.height());
    p.setX(std::max(p.x(), screen.left()));
    p.setY(std::max(p.y(), screen.top()));
    setGeometry(QRect(p, size));
    body_ = QRect(QPoint(0, 0), size);
    shape_ = QPainterPath();
    shape_.addRect(QRectF(body_).adjusted(0.5, 0.5, -0.5, -0.5));
    stemTip_ = p;
}

void ToolTipWindow::placeBalloon(QPoint mouse, QSize content, const QRect& screen) {
    const QSize bodySize = content + QSize(2 * margin(), 2 * margin());
    const QRect owner(tool_.owner->mapToGlobal(QPoint(0, 0)), tool_.owner->size());
    // Below the pointer, pointing at the button; above it when the screen ends first.
    QPoint tip(mouse.x(),
               std::max(mouse.y() + 1, std::min(mouse.y() + kBalloonDrop, owner.bottom())));
    bool below = tip.y() + kStemHeight + bodySize.height() <= screen.bottom() + 1;
    if (!below)
        tip.setY(std::max(owner.top(), mouse.y() - 2));
    QRect body(QPoint(tip.x() - kStemInset, below ? tip.y() + kStemHeight
                                                  : tip.y() - kStemHeight - bodySize.height() + 1),
               bodySize);
    if (body.right() > screen.right())
        body.moveRight(screen.right());
    if (body.left() < screen.left())
        body.moveLeft(screen.left());
    if (body.top() < screen.top())
        body.moveTop(screen.top());
    // The stem leans away from the side it would not fit on.
    const bool stemRight = tip.x() + kStemWidth <= body.right() - kBalloonRadius;
    const int baseFrom = stemRight ? tip.x() : tip.x() - kStemWidth;
    const int baseTo = stemRight ? tip.x() + kStemWidth : tip.x();

    const QRect window = body.united(QRect(tip, QSize(1, 1)));
    setGeometry(window);
    const QPoint o = window.topLeft();
    body_ = body.translated(-o);
    stemTip_ = tip;
    const QPointF t = QPointF(tip - o) + QPointF(0.5, 0.5);
    const double edge = below ? body_.top() + 0.5 : body_.bottom() + 0.5;
    const double into = below ? 1.0 : -1.0;  // overlap the body so the two merge
    QPainterPath stem;
    stem.moveTo(t);
    stem.lineTo(baseFrom - o.x() + 0.5, edge + into);
    stem.lineTo(baseTo - o.x() + 0.5, edge + into);
    stem.closeSubpath();
    QPainterPath outline;
    outline.addRoundedRect(QRectF(body_).adjusted(0.5, 0.5, -0.5, -0.5), kBalloonRadius,
                           kBalloonRadius);
    shape_ = outline.united(stem);
}

void ToolTipWindow::paintOutline(QPainter& p) const {
    p.setPen(QPen(effectiveTextColour(), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(effectiveBackgroundColour());
    p.drawPath(shape_);
    if (isBalloon()) {
        // A sharp corner loses its last pixel when stroked without smoothing.
        p.drawPoint(stemTip_ - geometry().topLeft());
    }
}

QBitmap ToolTipWindow::shapeMask() const {
    QImage shape(size(), QImage::Format_ARGB32_Premultiplied);
    if (shape.isNull())
        return {};
    shape.fill(Qt::transparent);
    QPainter p(&shape);
    paintOutline(p);
    p.end();
    return QBitmap::fromImage(shape.createAlphaMask());
}

void ToolTipWindow::renderFace() {
    // Drawn at the screen's own resolution; the shape's mask stays in window pixels.
    const qreal ratio = devicePixelRatioF();
    face_ = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    if (face_.isNull())
        return;
    face_.setDevicePixelRatio(ratio);
    face_.fill(Qt::transparent);
    QPainter p(&face_);
    paintOutline(p);

    const QPoint origin = body_.topLeft() + QPoint(margin(), margin());
    int y = origin.y();
    if (titleSet_) {
        const int row = titleRowHeight();
        int x = origin.x();
        const QPixmap icon = titlePixmap();
        if (!icon.isNull()) {
            p.drawPixmap(x, y + (row - kIconSize) / 2, icon);
            x += kIconSize + kIconGap;
        }
        p.setFont(titleFont());
        p.drawText(QRect(x, y, body_.right() - x, row), Qt::AlignLeft | Qt::AlignVCenter, title_);
        y += row + margin() / 2 + 2;
    }
    p.setFont(font());
    p.drawText(QRect(origin.x(), y, content_.width(), body_.bottom() - y), textFlags(),
               displayText());
}

void ToolTipWindow::popUp(QPoint globalMouse) {
    if (!hasTool_ || tool_.text.isEmpty())
        return;
    lastMouse_ = globalMouse;
    const QRect screen = availableScreen(this, globalMouse);
    content_ = contentSize();
    if (isBalloon())
        placeBalloon(globalMouse, content_, screen);
    else
        placeRectangle(globalMouse, content_, screen);
    renderFace();
    const QBitmap mask = shapeMask();
    if (!mask.isNull())
        setMask(mask);
    show();
    raise();
    hideTimer_.start(10000 + 40 * static_cast<int>(tool_.text.size()), this);
}

void ToolTipWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, face_);
}

}  // namespace tessaro::button
