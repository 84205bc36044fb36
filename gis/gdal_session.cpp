// SPDX-License-Identifier: GPL-3.0-or-later
#include "gis/gdal_session.h"

#include "os/atomic_file.h"

#include <cpl_error.h>
#include <gdal.h>

#include <mutex>

namespace {

constexpr long long kBlockCacheBytes = 16LL * 1024 * 1024;

} // namespace

GdalSession::GdalSession() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        GDALAllRegister();
        GDALSetCacheMax64(kBlockCacheBytes);
    });
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
}

GdalSession::~GdalSession() {
    CPLPopErrorHandler();
}

QString GdalSession::LastError() {
    const char* message = CPLGetLastErrorMsg();
    return message != nullptr && *message != '\0' ? QString::fromUtf8(message)
                                                  : QStringLiteral("unknown error");
}

QString GdalSession::LastWriteError(const QString& path) {
    const char* message = CPLGetLastErrorMsg();
    return message != nullptr && *message != '\0' ? QString::fromUtf8(message)
                                                  : WriteFailureTextAt(path);
}
