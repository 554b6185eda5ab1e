#pragma once

#include <QString>
#include <cstdint>

// A web or mail address that the desktop opens with its own handler.
class Hyperlink {
  public:
    void setURL(const QString& address) { url_ = address; }
    QString URL() const { return url_; }
    // Every page opens maximised, whatever state is asked for.
    void setExplorerStatus(int32_t intState) {
        static_cast<void>(intState);
        explorerStatus_ = 3;
    }
    int32_t ExplorerStatus() const { return explorerStatus_; }

    // Both hand the address over; false when the desktop has nothing to open it with (on
    // most desktops xdg-open, from xdg-utils), so that the caller can say so.
    bool OpenURL() const;
    bool Mail() const;

  private:
    QString url_;
    int32_t explorerStatus_ = 0;
};
