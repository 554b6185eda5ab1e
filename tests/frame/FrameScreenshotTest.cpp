#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <cstdlib>

#include "FrameTestSupport.h"
#include "TestPaths.h"

namespace {

QImage headerIcon() {
    // A picture with a key-coloured background (its top-left pixel) and a disc in it.
    QImage icon(32, 32, QImage::Format_RGB32);
    icon.fill(QColor(255, 0, 255));
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(QColor(255, 200, 0));
    painter.setPen(QColor(120, 60, 0));
    painter.drawEllipse(4, 4, 23, 23);
    return icon;
}

// A frame as the main window uses them: header, footer, a few children.
void populate(PanelFrame& frame, const QString& title) {
    frame.resize(260, 170);
    frame.setHeaderText(title);
    frame.setFooterText("Pronto");
    frame.setHeaderTextAlign(1);
    frame.setFooterTextAlign(4);
    frame.setHeaderPicture(headerIcon());
    frame.setExpandable(true);
    frame.setCloseable(true);
    frame.setContainerResizable(true);
    frame.setContainerShapeStyle(1);
    frame.setContainerCornerRadius(12);
    auto* label = new QLabel("Larghezza", &frame);
    label->setGeometry(12, 40, 80, 20);
    auto* edit = new QLineEdit("1280", &frame);
    edit->setGeometry(100, 40, 80, 22);
    auto* check = new QCheckBox("Mantieni proporzioni", &frame);
    check->setGeometry(12, 72, 200, 22);
}

bool save(PanelFrame& frame, const QString& name) {
    return frame.grab().save(testOutputDir() + "/" + name);
}

}  // namespace

TEST(FrameScreenshot, ThemesAndClassicStyle) {
    QWidget host;
    host.resize(300, 200);
    for (int theme : {0, 3, 7}) {
        PanelFrame frame(&host);
        populate(frame, QString("Tema %1").arg(theme));
        frame.setAppearence(theme);
        const QImage image = frametest::grabbed(frame);
        const auto colours = *frametheme::theme(theme);
        // Beside the picture, just under the border: the header's back colour.
        const QColor top = image.pixelColor(130, 1);
        const QColor back = frametest::colourOf(colours.headerBack);
        EXPECT_LE(std::abs(top.red() - back.red()) + std::abs(top.green() - back.green()) +
                      std::abs(top.blue() - back.blue()),
                  30)
            << theme;
        EXPECT_TRUE(save(frame, QString("frame_theme_%1.png").arg(theme)));
        frame.Collapse();
        EXPECT_TRUE(save(frame, QString("frame_theme_%1_collapsed.png").arg(theme)));
    }
    PanelFrame classic(&host);
    populate(classic, "Qualità JPEG");
    classic.setClassicXPStyle(true);
    EXPECT_TRUE(save(classic, "frame_classic.png"));
}
