// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where requests go when they go through an HTTP proxy, and who they authenticate as.
#include <QString>

struct ProxySettings {
    QString server; // empty: no proxy, requests go straight to the host of the URL
    int port = 0;   // 0 when not set; a fetch through port 0 fails
    QString user;   // empty: no Proxy-Authorization line
    QString password;

    bool operator==(const ProxySettings&) const = default;
};

// The settings as the proxy fields hold them; a port text that is not a decimal integer
// (or not a valid port number) gives port 0.
ProxySettings ProxyFromFields(const QString& server, const QString& portText, const QString& user,
                              const QString& password);
