#include "JpegOutput.h"

#include "RuntimeError.h"

int32_t WriteJpegOutput(const QImage&, int32_t, int32_t, const QString& destination,
                        const Settings&) {
    throw tessaro::RuntimeError(
        tessaro::err::kInvalidCall,
        QString("JPEG output is not available yet: %1").arg(destination).toStdString());
}
