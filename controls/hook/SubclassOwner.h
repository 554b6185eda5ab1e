#pragma once

#include <cstdint>

class QWidget;

namespace tessaro::hook {

// A control that receives the messages of the windows it hooked.
class SubclassOwner {
  public:
    // Called before the widget's own processing (bBefore true) and/or after it (false), as
    // the window's before and after tables ask.
    // - bHandled: false on entry to the before call; set it to suppress the widget's own
    //   processing and the after call.
    // - lReturn: the message's result; 0 on entry to the before call, what the widget's own
    //   processing returned on entry to the after call; may be changed in both.
    // - lParamUser: the window's user value; changes persist between calls.
    virtual void zSubclass_Proc(bool bBefore, bool& bHandled, int32_t& lReturn, QWidget* hWnd,
                                int32_t uMsg, int32_t wParam, int32_t lParam,
                                int32_t& lParamUser) = 0;

  protected:
    ~SubclassOwner() = default;
};

}  // namespace tessaro::hook
