#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>

#include "MainWindow.h"
#include "ThemedButton.h"

namespace windowtest {

template <typename T = QWidget>
T* control(const MainWindow& w, const char* name) {
    T* found = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline ThemedButton* button(const MainWindow& w, const char* name) {
    return control<ThemedButton>(w, name);
}

// A real click: the pointer comes over the control first, as a user's does.
inline void click(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    const QPoint centre = widget->rect().center();
    // From somewhere else: a pointer already standing there would bring no move.
    QTest::mouseMove(widget->window(), QPoint(1, 1));
    QTest::mouseMove(widget, centre);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, centre);
    QApplication::processEvents();
}

// Runs `step` once `panel` shows: from inside the wait of the panel that the next click
// opens. The timer dies with `panel`.
inline void whenShown(QWidget* panel, std::function<void()> step) {
    auto* poll = new QTimer(panel);
    QObject::connect(poll, &QTimer::timeout, panel, [poll, panel, step = std::move(step)] {
        if (!panel->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        step();
    });
    poll->start(5);
}

}  // namespace windowtest

namespace windowtest {

// Catches what the program asks the desktop to open, for one scheme, while it lives.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    explicit UrlCatcher(const QString& scheme) : scheme_(scheme) {
        QDesktopServices::setUrlHandler(scheme_, this, "open");
    }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(scheme_); }
    QList<QUrl> opened;

  public slots:
    void open(const QUrl& url) { opened << url; }

  private:
    QString scheme_;
};

}  // namespace windowtest
