#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>

// The frame's public, persisted state with the values a newly created frame starts from.
// Colours are 0x00BBGGRR, or 0x800000nn for system colour nn (translated when drawn).
struct FrameProperties {
    QString HeaderText;
    QFont HeaderTextFont;
    int16_t HeaderTextAlign = 0;
    uint32_t HeaderTextColor = 0x00FFFFFF;
    int16_t HeaderSize = 1;
    bool Closeable = false;
    bool HeaderVisible = true;
    uint32_t HeaderBackColor = 0x00FFFFFF;
    uint32_t HeaderFadeColor = 0x00D96C00;
    int16_t HeaderFillStyle = 1;
    QImage HeaderPicture;
    int32_t HoverTime = 0;
    int16_t HeaderPictureSize = 16;
    QString FooterText;
    QFont FooterTextFont;
    int16_t FooterTextAlign = 0;
    uint32_t FooterTextColor = 0x00FFFFFF;
    int16_t FooterSize = 0;
    bool FooterVisible = true;
    bool HeaderPictureVisible = true;
    bool ClassicXPStyle = false;
    bool ZOrderOnFocus = false;
    bool ContainerPictureVisible = true;
    bool ContainerMoveable = false;
    bool ContainerResizable = false;
    uint32_t FooterBackColor = 0x00D96C00;
    uint32_t FooterFadeColor = 0x00FFFFFF;
    int16_t FooterFillStyle = 1;
    QFont ContainerTextFont;
    uint32_t ContainerBackColor = 0x8000000F;
    uint32_t ContainerFadeColor = 0x8000000F;
    int16_t ContainerFillStyle = 1;
    uint32_t ContainerForeColor = 0x80000012;
    uint32_t ContainerBorderColor = 0x00000000;
    int32_t ContainerBorderStyle = 0;
    int32_t ContainerShapeStyle = 0;
    int16_t ContainerCornerRadius = 20;
    QImage ContainerPicture;
    int16_t ContainerPictureSize = 32;
    int16_t ContainerPictureBufferTop = 0;
    int16_t ContainerPictureBufferLeft = 0;
    bool UseCustomColors = false;
    int32_t Appearence = 0;
    bool Enabled = true;
    bool Expandable = false;
    bool AutoResizeControls = false;
    uint32_t CollapseButtonColor = 0x000000FF;
    // The surface's own back colour: button face.
    uint32_t BackColor = 0x8000000F;
};
