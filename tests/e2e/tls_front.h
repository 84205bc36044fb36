// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Debian's nginx serving HTTPS (HTTP/2 where the client asks) on loopback in front of the
// demo tile server, with a CA and a certificate for 127.0.0.1 made by openssl at start.
// /busy/ always answers 429 with "Retry-After: 2", /to-http/ redirects to the demo server's
// plain http. /static/ serves the files of dir's folder "static" with ETag, Last-Modified and
// Cache-Control, answering 304 to a copy no older than the file, and logs each request to
// static.log as: time, status, "request", "If-Modified-Since", "If-None-Match", "Pragma",
// "Cache-Control", body bytes, connection number, seconds taken; /slow/ serves the same 50 ms late
// where nginx has its echo module.
#include "tests/support/temp_dir.h"

#include <QProcess>
#include <QString>

// Makes a CA in dir as <name>.pem (with its key <name>.key); returns the certificate's path,
// or an empty text when openssl failed.
QString MakeTestCa(const TempDir& dir, const QString& name);

class TlsFront {
public:
    // Starts nginx on a free port, forwarding to 127.0.0.1:upstreamPort; Port() stays 0 when
    // nginx or openssl is missing or failed (Problem() says why).
    TlsFront(const TempDir& dir, int upstreamPort);
    ~TlsFront();
    TlsFront(const TlsFront&) = delete;
    TlsFront& operator=(const TlsFront&) = delete;

    int Port() const { return port_; }
    QString Problem() const { return problem_; }
    QString CaFile() const { return caFile_; } // the CA that signed the server's certificate
    QString Url(const QString& path) const;    // "https://127.0.0.1:PORT" + path

private:
    QProcess nginx_;
    QString caFile_;
    QString problem_;
    int port_ = 0;
};
