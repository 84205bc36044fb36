// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every use of GDAL's C API here shares: the drivers registered once, a bounded block
// cache, and GDAL's own error printing kept off the standard error for the span of a call
// (the command line prints its progress there), the last message kept for ours.
#include <QString>

class GdalSession {
public:
    // Registers the drivers and caps GDAL's block cache (the library's default is a
    // twentieth of the machine's memory, far more than a streamed picture needs) the first
    // time; both are settings of the library, the same for every caller.
    GdalSession();
    ~GdalSession();
    GdalSession(const GdalSession&) = delete;
    GdalSession& operator=(const GdalSession&) = delete;

    // GDAL's last error message since the session began (or "unknown error").
    static QString LastError();
    // The same for a failure to write path, which GDAL often leaves without a message (a
    // full disk among them): then the reason is found out from the disk.
    static QString LastWriteError(const QString& path);
};
