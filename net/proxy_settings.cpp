// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/proxy_settings.h"

#include "net/http_numbers.h"

ProxySettings ProxyFromFields(const QString& server, const QString& portText, const QString& user,
                              const QString& password) {
    const std::optional<qint64> port = ParseDecimal(portText);
    // Anything outside the TCP port range could only ever fail to connect, and would not
    // fit the int the settings hold.
    const bool valid = port && *port >= 0 && *port <= 65535;
    return ProxySettings{server, valid ? static_cast<int>(*port) : 0, user, password};
}
