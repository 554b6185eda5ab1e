#pragma once

#include <QEvent>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

#include "EventLog.h"
#include "Messages.h"
#include "SubclassOwner.h"

namespace hooktest {

// Collects the hook's error lines for the lifetime of the object.
class ErrorLines {
  public:
    ErrorLines() {
        previous_ = tessaro::hook::setErrorSink([this](const QString& l) { lines << l; });
    }
    ~ErrorLines() { tessaro::hook::setErrorSink(previous_); }
    QStringList lines;

  private:
    tessaro::hook::ErrorSink previous_;
};

struct Call {
    bool before;
    QWidget* window;
    int32_t message;
    int32_t wParam;
    int32_t lParam;
    int32_t resultOnEntry;
    int32_t userValue;
};

// An owner that records its calls; `react` may change handled, result and the user value.
class RecordingOwner : public tessaro::hook::SubclassOwner {
  public:
    void zSubclass_Proc(bool bBefore, bool& bHandled, int32_t& lReturn, QWidget* hWnd, int32_t uMsg,
                        int32_t wParam, int32_t lParam, int32_t& lParamUser) override {
        calls.push_back({bBefore, hWnd, uMsg, wParam, lParam, lReturn, lParamUser});
        if (react)
            react(bBefore, bHandled, lReturn, uMsg, lParamUser);
    }
    std::vector<int32_t> messages(bool before) const {
        std::vector<int32_t> m;
        for (const Call& c : calls) {
            if (c.before == before)
                m.push_back(c.message);
        }
        return m;
    }
    bool saw(int32_t message, bool before) const {
        for (const Call& c : calls) {
            if (c.message == message && c.before == before)
                return true;
        }
        return false;
    }
    std::vector<Call> calls;
    std::function<void(bool, bool&, int32_t&, int32_t, int32_t&)> react;
};

// A widget that counts what reaches its own event() and answers synthetic messages with a
// chosen value (true or false).
class ProbeWidget : public QWidget {
  public:
    int syntheticSeen = 0;
    int moveSeen = 0;
    bool answer = true;
    std::function<void(int32_t)> onSynthetic;

  protected:
    bool event(QEvent* e) override {
        if (e->type() == tessaro::hook::SyntheticMessageEvent::eventType()) {
            ++syntheticSeen;
            if (onSynthetic)
                onSynthetic(static_cast<tessaro::hook::SyntheticMessageEvent*>(e)->message());
            return answer;
        }
        if (e->type() == QEvent::Move)
            ++moveSeen;
        return QWidget::event(e);
    }
};

}  // namespace hooktest
