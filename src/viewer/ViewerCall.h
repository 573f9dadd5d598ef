#pragma once

#include "common/basErrorHandling.h"

#include <QString>

#include <utility>

namespace qv::viewer {

// Runs a public member of the data viewer: a failure keeps its number and
// description and gets "QVVIEWER.DataViewer" + sOperation + ": " before its
// source, so that nested failures read as a call chain.
template<typename Body>
decltype(auto) ViewerCall(const char *sOperation, Body &&body)
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        CaptureError();
    }
    AddErrorSource(QStringLiteral("QVVIEWER.DataViewer") + QLatin1String(sOperation));
    const ErrorState &oError = CurrentError();
    RaiseError(oError.Number, oError.Source, oError.Description);
}

} // namespace qv::viewer
