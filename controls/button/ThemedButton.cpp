#include "ThemedButton.h"
#include "ThemedButtonAccessible.h"

#include <QDesktopServices>
#include <QShortcut>
#include <QUrl>

#include "AboutBox.h"
#include "ColourOps.h"
#include "IconDrawing.h"
#include "MouseTracking.h"
#include "SystemColour.h"
#include "ToolTipWindow.h"

using namespace tessaro::button;
using tessaro::hook::HOOK_AFTER;

namespace {

constexpr int32_t kMouseMove = tessaro::hook::WM_MOUSEMOVE;
constexpr int32_t kMouseLeave = tessaro::hook::WM_MOUSELEAVE;
constexpr int32_t kThemeChanged = tessaro::hook::WM_THEMECHANGED;
constexpr int32_t kSysColorChange = tessaro::hook::WM_SYSCOLORCHANGE;

uint32_t systemColour(int index) {
    return translate(syscolour::reference(index));
}

}  // namespace

ThemedButton::ThemedButton(QWidget* parent) : QWidget(parent), hook_("ThemedButton", this) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    applyCreationValues();
    InstallThemedButtonAccessible();
}

ThemedButton::~ThemedButton() {
    hook_.sc_UnSubclassAll();
}

void ThemedButton::applyCreationValues() {
    style_ = 0;
    caption_ = objectName();
    icon_ = QImage();
    iconAlign_ = 1;
    iconSize_ = 16;
    captionAlign_ = 0;
    nonThemeStyle_ = 0;
    enabled_ = true;
    showFocus_ = false;
    useCustomColors_ = false;
    backColor_ = systemColour(syscolour::kButtonFace);
    highlightColor_ = systemColour(syscolour::kHighlight);
    fontColor_ = systemColour(syscolour::kButtonText);
    fontHighlightColor_ = systemColour(syscolour::kButtonText);
    toolTipText_.clear();
    toolTipTitle_.clear();
    toolTipIcon_ = 0;
    toolTipType_ = 1;
    toolTipBackColor_ = 0;
    toolTipForeColor_ = 0;
    buttonType_ = 0;
    mousePointer_ = 0;
    value_ = false;
    maskColor_ = 0;
    useMaskColor_ = false;
    roundedBordersByTheme_ = false;
    rightToLeft_ = false;
    applyMousePointer();
    updateAccessKey();
}

void ThemedButton::InitProperties() {
    guarded([&] { applyCreationValues(); });
    // A control made while the program runs must track the mouse like a loaded one, or it
    // would never show its hot look nor raise Click for a mouse click.
    guarded([&] {
        if (userMode_)
            setUpTracking();
    });
    guarded([&] { relayout(); });
}

void ThemedButton::SetUserMode(bool running) {
    userMode_ = running;
    guarded([&] { Refresh(); });
}

void ThemedButton::SetDisplayAsDefault(bool isDefault) {
    displayAsDefault_ = isDefault;
    guarded([&] { Refresh(); });
}

void ThemedButton::setUpTracking() {
    // Leave tracking (MouseTracking.h) is built in, so looking for a tracking entry point
    // always succeeds.
    trackingAvailable_ = true;
    if (!trackingAvailable_ || hooked_)
        return;
    if (!hook_.sc_Subclass(this, 0, this, true))
        return;
    hooked_ = true;
    for (int32_t message : {kMouseMove, kMouseLeave, kThemeChanged, kSysColorChange}) {
        hook_.sc_AttachMsg(this, message, HOOK_AFTER);
    }
}

void ThemedButton::rearmLeaveTracking() {
    if (trackingAvailable_)
        tessaro::hook::TrackMouseEvent(this, tessaro::hook::TME_LEAVE, 0);
}

// The host-side tooltip text is the widget's own tool tip, which Qt would show by itself: it
// is taken into ToolTipText and left blank while our tooltip may show, and given back when
// the mouse leaves or the button is hidden.
void ThemedButton::createToolTip() {
    // Blank only because we blanked it: the text we hold stays.
    if (!hostTextLent_ || !toolTip().isEmpty())
        toolTipText_ = toolTip();
    setToolTip(QString());
    hostTextLent_ = true;

    uint32_t windowStyle = TTS_ALWAYSTIP | TTS_NOPREFIX;
    if (toolTipType_ == 1)
        windowStyle |= TTS_BALLOON;
    if (!enabled_ || !shown_)
        return;
    // A tooltip still up (the text set while the mouse is over the button) is replaced.
    delete toolTip_;
    auto* tip = new ToolTipWindow(this, windowStyle);
    toolTip_ = tip;
    ToolRecord tool;
    tool.flags = TTF_SUBCLASS;
    tool.owner = this;
    tool.id = 0;
    tool.rect = clientRect_.toQRect();
    tool.text = toolTipText_;
    if (!tip->addTool(tool)) {
        delete tip;
        return;
    }
    if (!toolTipTitle_.isEmpty() || toolTipIcon_ != 0)
        tip->setTitle(toolTipIcon_, toolTipTitle_);
    // Black (0) is never sent: the tooltip keeps the system's colours.
    if (toolTipForeColor_ != 0)
        tip->setTextColour(translate(toolTipForeColor_));
    if (toolTipBackColor_ != 0)
        tip->setBackgroundColour(translate(toolTipBackColor_));
}

void ThemedButton::destroyToolTip() {
    giveBackToolTipText();
    if (toolTip_) {
        toolTip_->deleteTool(toolTip_->tool());
        delete toolTip_;
    }
}

void ThemedButton::giveBackToolTipText() {
    setToolTip(toolTipText_);
    hostTextLent_ = false;
}

tessaro::button::ToolTipWindow* ThemedButton::toolTipWindow() const {
    return toolTip_;
}

void ThemedButton::updateAccessKey() {
    const QKeySequence key = QKeySequence::mnemonic(caption_);
    if (key.isEmpty()) {
        delete accessKey_;
        return;
    }
    if (!accessKey_) {
        accessKey_ = new QShortcut(this);
        connect(accessKey_, &QShortcut::activated, this,
                [this] { guarded([&] { accessKeyAction(); }); });
    }
    accessKey_->setKey(key);
}

void ThemedButton::applyMousePointer() {
    static const Qt::CursorShape shapes[] = {
        Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor};
    if (mousePointer_ <= 0 || mousePointer_ >= static_cast<int>(std::size(shapes))) {
        unsetCursor();
    } else {
        setCursor(shapes[mousePointer_]);
    }
}

void ThemedButton::About() {
    guarded([&] {
        if (!about_)
            about_ = std::make_unique<AboutBox>(this, Version());
        about_->showAbout();
    });
}

int32_t ThemedButton::OpenLink(const QString& sLink) {
    int32_t result = 31;
    guarded([&] { result = QDesktopServices::openUrl(QUrl::fromUserInput(sLink)) ? 33 : 31; });
    return result;
}

bool ThemedButton::PaintIconGrayscale(QPainter* Dest_hDC, const QImage& hIcon, int Dest_X,
                                      int Dest_Y, int Dest_Height, int Dest_Width) {
    bool ok = false;
    guarded(
        [&] { ok = paintIconGrayscale(Dest_hDC, hIcon, Dest_X, Dest_Y, Dest_Height, Dest_Width); });
    return ok;
}
