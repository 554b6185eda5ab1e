// The button's properties in the host's property bag.
#include <QPixmap>

#include "BagValues.h"
#include "ColourOps.h"
#include "SystemColour.h"
#include "ThemedButton.h"

using namespace tessaro::button;

namespace {

using bagvalue::toBool;
using bagvalue::toColour;
using bagvalue::toInt16;
using bagvalue::toInt32;

uint32_t systemColour(int index) {
    return translate(syscolour::reference(index));
}

QVariant colour(uint32_t c) {
    return QVariant::fromValue(static_cast<qlonglong>(c));
}
QVariant int32(int32_t n) {
    return QVariant::fromValue(static_cast<qlonglong>(n));
}

QImage toPicture(const QVariant& v) {
    if (v.typeId() == QMetaType::QImage)
        return v.value<QImage>();
    if (v.typeId() == QMetaType::QPixmap)
        return v.value<QPixmap>().toImage();
    return QImage();
}

}  // namespace

void ThemedButton::ReadProperties(const PropertyBag& bag) {
    state_ = 1;
    // Each key on its own: a value that cannot be taken leaves that property as it was.
    const auto read = [&](const char* key, const QVariant& def, auto&& apply) {
        guarded([&] { apply(bag.ReadProperty(QLatin1String(key), def)); });
    };
    read("Icon", QVariant(), [&](const QVariant& v) { icon_ = toPicture(v); });
    read("Style", int32(3), [&](const QVariant& v) { style_ = toInt32(v); });
    read("Caption", QStringLiteral("ThemedButton"),
         [&](const QVariant& v) { caption_ = v.toString(); });
    read("IconSize", int32(16), [&](const QVariant& v) { iconSize_ = toInt16(v); });
    read("CaptionAlign", int32(0), [&](const QVariant& v) { captionAlign_ = toInt32(v); });
    read("IconAlign", int32(1), [&](const QVariant& v) { iconAlign_ = toInt32(v); });
    read("iNonThemeStyle", int32(5), [&](const QVariant& v) { nonThemeStyle_ = toInt32(v); });
    read("Enabled", true, [&](const QVariant& v) { enabled_ = toBool(v); });
    read("ShowFocus", false, [&](const QVariant& v) { showFocus_ = toBool(v); });
    read("USeCustomColors", false, [&](const QVariant& v) { useCustomColors_ = toBool(v); });
    read("BackColor", colour(systemColour(syscolour::kButtonFace)),
         [&](const QVariant& v) { backColor_ = toColour(v); });
    read("HighlightColor", colour(systemColour(syscolour::kHighlight)),
         [&](const QVariant& v) { highlightColor_ = toColour(v); });
    read("FontColor", colour(systemColour(syscolour::kButtonText)),
         [&](const QVariant& v) { fontColor_ = toColour(v); });
    read("FontHighlightColor", colour(systemColour(syscolour::kButtonText)),
         [&](const QVariant& v) { fontHighlightColor_ = toColour(v); });
    read("ToolTipText", QString(), [&](const QVariant& v) {
        setToolTip(v.toString());
        hostTextLent_ = false;
        toolTipText_ = v.toString();
    });
    read("Tooltiptitle", QString(), [&](const QVariant& v) { toolTipTitle_ = v.toString(); });
    read("ToolTipIcon", int32(0), [&](const QVariant& v) { toolTipIcon_ = toInt32(v); });
    read("ToolTipType", int32(1), [&](const QVariant& v) { toolTipType_ = toInt32(v); });
    // The tooltip defaults cross over on purpose: background reads as the text colour.
    read("ttBackColor", colour(systemColour(syscolour::kInfoText)),
         [&](const QVariant& v) { toolTipBackColor_ = toColour(v); });
    read("ttForeColor", colour(systemColour(syscolour::kInfoBackground)),
         [&](const QVariant& v) { toolTipForeColor_ = toColour(v); });
    read("Font", font().toString(), [&](const QVariant& v) {
        QFont f;
        if (f.fromString(v.toString()))
            setFont(f);
    });
    read("ButtonType", int32(0), [&](const QVariant& v) { buttonType_ = toInt32(v); });
    read("Value", false, [&](const QVariant& v) { value_ = toBool(v); });
    read("UseMaskColor", false, [&](const QVariant& v) { useMaskColor_ = toBool(v); });
    read("MaskColor", colour(0xC0C0C0), [&](const QVariant& v) { maskColor_ = toColour(v); });
    read("MousePointer", int32(0), [&](const QVariant& v) {
        mousePointer_ = toInt16(v);
        applyMousePointer();
    });
    read("RoundedBordersByTheme", true,
         [&](const QVariant& v) { roundedBordersByTheme_ = toBool(v); });
    read("bRTLText", false, [&](const QVariant& v) { rightToLeft_ = toBool(v); });

    guarded([&] { QWidget::setEnabled(enabled_); });
    guarded([&] { updateAccessKey(); });
    guarded([&] {
        if (userMode_)
            setUpTracking();
    });
    guarded([&] { relayout(); });
}

void ThemedButton::WriteProperties(PropertyBag& bag) {
    const auto write = [&](const char* key, const QVariant& value, const QVariant& def) {
        guarded([&] { bag.WriteProperty(QLatin1String(key), value, def); });
    };
    const QVariant always;
    write("Icon", icon_, always);
    write("Style", int32(style_), int32(3));
    write("Caption", caption_, QString());
    write("IconSize", int32(iconSize_), int32(16));
    write("IconAlign", int32(iconAlign_), int32(1));
    write("CaptionAlign", int32(captionAlign_), int32(0));
    write("iNonThemeStyle", int32(nonThemeStyle_), int32(5));
    write("Enabled", enabled_, true);
    write("ShowFocus", showFocus_, false);
    write("USeCustomColors", useCustomColors_, false);
    write("BackColor", colour(backColor_), colour(systemColour(syscolour::kButtonFace)));
    write("HighlightColor", colour(highlightColor_), colour(systemColour(syscolour::kHighlight)));
    write("FontColor", colour(fontColor_), colour(systemColour(syscolour::kButtonText)));
    write("FontHighlightColor", colour(fontHighlightColor_),
          colour(systemColour(syscolour::kButtonText)));
    // While lent to our tooltip the host's text is the one we hold.
    write("ToolTipText", hostTextLent_ ? toolTipText_ : toolTip(), always);
    write("ToolTipTitle", toolTipTitle_, always);
    write("ToolTipIcon", int32(toolTipIcon_), always);
    write("ToolTipType", int32(toolTipType_), always);
    write("ttBackColor", colour(toolTipBackColor_), colour(systemColour(syscolour::kInfoText)));
    write("ttForeColor", colour(toolTipForeColor_),
          colour(systemColour(syscolour::kInfoBackground)));
    write("Font", font().toString(), always);
    write("ButtonType", int32(buttonType_), int32(0));
    write("Value", value_, false);
    write("MaskColor", colour(maskColor_), colour(0xC0C0C0));
    write("UseMaskColor", useMaskColor_, false);
    write("MousePointer", int32(mousePointer_), int32(0));
    write("RoundedBordersByTheme", roundedBordersByTheme_, true);
    write("bRTLText", rightToLeft_, false);
}
