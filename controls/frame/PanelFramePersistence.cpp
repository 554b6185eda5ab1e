// Creation, loading and saving of the frame's properties.
#include <QImage>
#include <QLabel>

#include "AnsiText.h"
#include "BagValues.h"
#include "CheckedMath.h"
#include "PanelFrame.h"
#include "PropertyBag.h"

namespace {

// Defaults shared by reading and writing unless noted.
const QString kHeaderTextDefault = QStringLiteral("Header");
const QString kFooterTextDefault = QStringLiteral("Footer");
constexpr bool kClassicDefault = true;
constexpr bool kZOrderDefault = true;
constexpr int32_t kHoverTimeDefault = 400;

int frameCount = 0;

}  // namespace

void PanelFrame::InitProperties() {
    const QFont font = hostFont();
    FrameProperties fresh;
    fresh.HeaderTextFont = font;
    fresh.FooterTextFont = font;
    fresh.ContainerTextFont = font;
    fresh.BackColor = p_.BackColor;
    fresh.HeaderText =
        objectName().isEmpty() ? QStringLiteral("PanelFrame%1").arg(++frameCount) : objectName();
    p_ = fresh;
    caption_->setText(ansiText(p_.HeaderText));
    applyColours();
    updateShape();
    repaint();
}

void PanelFrame::ReadProperties(const PropertyBag& bag) {
    using namespace bagvalue;
    const QFont font = hostFont();
    const QVariant hostFontText = fromFont(font);
    const auto read = [&](const char* key, const QVariant& fallback) {
        return bag.ReadProperty(QString::fromLatin1(key), fallback);
    };
    const auto colour = [&](const char* key, uint32_t fallback) {
        return toColour(read(key, fromColour(fallback)));
    };
    const FrameProperties d;  // the reading defaults, where they equal the creation values

    // Read into a copy so that a value of the wrong type leaves the frame as it was.
    FrameProperties n = p_;
    n.HeaderTextFont = toFont(read("HeaderTextFont", hostFontText));
    n.FooterTextFont = toFont(read("footerTextFont", hostFontText));
    n.ContainerTextFont = toFont(read("ContainerTextFont", hostFontText));
    n.UseCustomColors = toBool(read("UseCustomColors", d.UseCustomColors));
    n.Expandable = toBool(read("Expandable", d.Expandable));
    n.HeaderVisible = toBool(read("HeaderVisible", d.HeaderVisible));
    n.FooterVisible = toBool(read("FooterVisible", d.FooterVisible));
    n.HeaderText = toText(read("HeaderText", kHeaderTextDefault));
    n.FooterText = toText(read("FooterText", kFooterTextDefault));
    n.HeaderTextAlign = toInt16(read("HeaderTextAlign", d.HeaderTextAlign));
    n.FooterTextAlign = toInt16(read("FooterTextAlign", d.FooterTextAlign));
    n.BackColor = colour("BackColor", d.BackColor);
    n.HeaderFillStyle = toInt16(read("HeaderFillStyle", d.HeaderFillStyle));
    n.FooterFillStyle = toInt16(read("FooterFillStyle", d.FooterFillStyle));
    n.ContainerFillStyle = toInt16(read("ContainerFillStyle", d.ContainerFillStyle));
    n.HeaderTextColor = colour("HeaderTextColor", d.HeaderTextColor);
    n.FooterTextColor = colour("FooterTextColor", d.FooterTextColor);
    n.ContainerForeColor = colour("ContainerForeColor", d.ContainerForeColor);
    n.HeaderBackColor = colour("HeaderBackColor", d.HeaderBackColor);
    n.FooterBackColor = colour("FooterBackColor", d.FooterBackColor);
    n.ContainerBackColor = colour("ContainerBackColor", d.ContainerBackColor);
    n.HeaderFadeColor = colour("HeaderFadeColor", d.HeaderFadeColor);
    n.FooterFadeColor = colour("FooterFadeColor", d.FooterFadeColor);
    n.ContainerFadeColor = colour("ContainerFadeColor", d.ContainerFadeColor);
    n.ContainerBorderColor = colour("ContainerBorderColor", d.ContainerBorderColor);
    n.ContainerBorderStyle = toInt32(read("ContainerBorderStyle", d.ContainerBorderStyle));
    n.ContainerShapeStyle = toInt32(read("ContainerShapeStyle", d.ContainerShapeStyle));
    n.ContainerCornerRadius = toInt16(read("ContainerCornerRadius", d.ContainerCornerRadius));
    n.Enabled = toBool(read("Enabled", d.Enabled));
    n.Appearence = toInt32(read("Appearence", d.Appearence));
    n.HeaderSize = toInt16(read("HeaderSize", d.HeaderSize));
    n.FooterSize = toInt16(read("FooterSize", d.FooterSize));
    n.HeaderText = toText(read("HeaderText", kHeaderTextDefault));
    n.FooterText = toText(read("FooterText", kFooterTextDefault));
    n.CollapseButtonColor = colour("CollapseButtonColor", d.CollapseButtonColor);
    n.HeaderPicture = toPicture(read("HeaderPicture", QVariant()));
    n.HeaderPictureSize = toInt16(read("HeaderPictureSize", d.HeaderPictureSize));
    n.ContainerPicture = toPicture(read("ContainerPicture", QVariant()));
    n.ContainerPictureSize = toInt16(read("ContainerPictureSize", d.ContainerPictureSize));
    n.HeaderPictureVisible = toBool(read("HeaderPictureVisible", d.HeaderPictureVisible));
    n.ContainerPictureVisible = toBool(read("ContainerPictureVisible", d.ContainerPictureVisible));
    n.ContainerPictureBufferTop =
        toInt16(read("ContainerPictureBufferTop", d.ContainerPictureBufferTop));
    n.ContainerPictureBufferLeft =
        toInt16(read("ContainerPictureBufferLeft", d.ContainerPictureBufferLeft));
    n.ContainerResizable = toBool(read("ContainerResizable", d.ContainerResizable));
    n.ContainerMoveable = toBool(read("ContainerMovable", d.ContainerMoveable));
    // These three start as false, false and 0 on a new frame but read as true, true and 400
    // when their key is missing.
    n.ClassicXPStyle = toBool(read("ClassicXPStyle", kClassicDefault));
    n.ZOrderOnFocus = toBool(read("ZOrderOnFocus", kZOrderDefault));
    n.Closeable = toBool(read("Closeable", d.Closeable));
    n.HoverTime = toInt32(read("HoverTime", kHoverTimeDefault));
    n.AutoResizeControls = toBool(read("AutoResizeControls", d.AutoResizeControls));
    p_ = n;

    caption_->setText(ansiText(p_.HeaderText));
    applyColours();
    try {
        expandedHeight_ = tessaro::checked::round32(heightTwips());
        expandedHeightTaken_ = true;
    } catch (const tessaro::RuntimeError&) {
    }
    recomputeTextFlags();
    // A frame loaded while it is already showing is live now; otherwise it goes live on its
    // first show.
    if (isVisible())
        goLive();
    updateShape();
    repaint();
}

void PanelFrame::WriteProperties(PropertyBag& bag) const {
    using namespace bagvalue;
    const QVariant hostFontText = fromFont(hostFont());
    const FrameProperties d;
    const auto write = [&](const char* key, const QVariant& value, const QVariant& fallback) {
        bag.WriteProperty(QString::fromLatin1(key), value, fallback);
    };
    const auto colour = [&](const char* key, uint32_t value, uint32_t fallback) {
        write(key, fromColour(value), fromColour(fallback));
    };
    const auto number = [&](const char* key, int32_t value, int32_t fallback) {
        write(key, value, fallback);
    };
    const auto flag = [&](const char* key, bool value, bool fallback) {
        write(key, value, fallback);
    };

    colour("BackColor", p_.BackColor, d.BackColor);
    write("HeaderTextFont", fromFont(p_.HeaderTextFont), hostFontText);
    write("footerTextFont", fromFont(p_.FooterTextFont), hostFontText);
    write("ContainerTextFont", fromFont(p_.ContainerTextFont), hostFontText);
    flag("UseCustomColors", p_.UseCustomColors, d.UseCustomColors);
    flag("Expandable", p_.Expandable, d.Expandable);
    flag("HeaderVisible", p_.HeaderVisible, d.HeaderVisible);
    flag("FooterVisible", p_.FooterVisible, d.FooterVisible);
    write("HeaderText", p_.HeaderText, kHeaderTextDefault);
    write("FooterText", p_.FooterText, kFooterTextDefault);
    number("HeaderTextAlign", p_.HeaderTextAlign, d.HeaderTextAlign);
    number("FooterTextAlign", p_.FooterTextAlign, d.FooterTextAlign);
    number("HeaderFillStyle", p_.HeaderFillStyle, d.HeaderFillStyle);
    number("FooterFillStyle", p_.FooterFillStyle, d.FooterFillStyle);
    number("ContainerFillStyle", p_.ContainerFillStyle, d.ContainerFillStyle);
    colour("HeaderTextColor", p_.HeaderTextColor, d.HeaderTextColor);
    colour("FooterTextColor", p_.FooterTextColor, d.FooterTextColor);
    colour("ContainerForeColor", p_.ContainerForeColor, d.ContainerForeColor);
    colour("HeaderBackColor", p_.HeaderBackColor, d.HeaderBackColor);
    colour("FooterBackColor", p_.FooterBackColor, d.FooterBackColor);
    colour("ContainerBackColor", p_.ContainerBackColor, d.ContainerBackColor);
    colour("HeaderFadeColor", p_.HeaderFadeColor, d.HeaderFadeColor);
    colour("FooterFadeColor", p_.FooterFadeColor, d.FooterFadeColor);
    colour("ContainerFadeColor", p_.ContainerFadeColor, d.ContainerFadeColor);
    colour("ContainerBorderColor", p_.ContainerBorderColor, d.ContainerBorderColor);
    number("ContainerBorderStyle", p_.ContainerBorderStyle, d.ContainerBorderStyle);
    number("ContainerShapeStyle", p_.ContainerShapeStyle, d.ContainerShapeStyle);
    number("ContainerCornerRadius", p_.ContainerCornerRadius, d.ContainerCornerRadius);
    number("Appearence", p_.Appearence, d.Appearence);
    flag("Enabled", p_.Enabled, d.Enabled);
    number("HeaderSize", p_.HeaderSize, d.HeaderSize);
    number("FooterSize", p_.FooterSize, d.FooterSize);
    write("HeaderText", p_.HeaderText, kHeaderTextDefault);
    write("FooterText", p_.FooterText, QVariant());  // no default: always stored
    colour("CollapseButtonColor", p_.CollapseButtonColor, d.CollapseButtonColor);
    write("HeaderPicture", p_.HeaderPicture, QVariant());
    number("HeaderPictureSize", p_.HeaderPictureSize, d.HeaderPictureSize);
    flag("HeaderPictureVisible", p_.HeaderPictureVisible, d.HeaderPictureVisible);
    write("ContainerPicture", p_.ContainerPicture, QVariant());
    number("ContainerPictureSize", p_.ContainerPictureSize, d.ContainerPictureSize);
    flag("ContainerPictureVisible", p_.ContainerPictureVisible, d.ContainerPictureVisible);
    number("ContainerPictureBufferTop", p_.ContainerPictureBufferTop, d.ContainerPictureBufferTop);
    number("ContainerPictureBufferLeft", p_.ContainerPictureBufferLeft,
           d.ContainerPictureBufferLeft);
    flag("ContainerResizable", p_.ContainerResizable, d.ContainerResizable);
    flag("ContainerMovable", p_.ContainerMoveable, d.ContainerMoveable);
    flag("ClassicXPStyle", p_.ClassicXPStyle, kClassicDefault);
    flag("ZOrderOnFocus", p_.ZOrderOnFocus, kZOrderDefault);
    flag("Closeable", p_.Closeable, d.Closeable);
    number("HoverTime", p_.HoverTime, kHoverTimeDefault);
    flag("AutoResizeControls", p_.AutoResizeControls, d.AutoResizeControls);
}
