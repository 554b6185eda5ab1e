#include "DecoderWarnings.h"

#include <QtGlobal>
#include <cstring>
#include <mutex>

namespace {

thread_local DecoderWarnings* current = nullptr;
QtMessageHandler previous = nullptr;

}  // namespace

// One handler for the whole program, installed once: installing and removing one per read
// would race between threads and could leave a handler pointing at a finished read.
class DecoderWarningsSink {
  public:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        const bool fromDecoder = context.category != nullptr &&
                                 std::strncmp(context.category, "qt.gui.imageio", 14) == 0;
        if (current != nullptr && fromDecoder && type != QtDebugMsg && type != QtInfoMsg) {
            current->messages_ << text;
            return;
        }
        if (previous != nullptr)
            previous(type, context, text);
    }
};

DecoderWarnings::DecoderWarnings() : outer_(current) {
    static std::once_flag installed;
    std::call_once(installed,
                   [] { previous = qInstallMessageHandler(DecoderWarningsSink::handle); });
    current = this;
}

DecoderWarnings::~DecoderWarnings() {
    current = outer_;
}
