// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of a GET request: the request line, the fixed header lines and the empty line.
#include <QByteArray>
#include <QString>
#include <optional>

// proxyCredentials is the Base64 text for a Proxy-Authorization line, empty for none.
// Nothing when target or host hold a character that a request line cannot carry
// (a control character, a blank, or one beyond Latin-1): sending it would change the
// request's meaning.
std::optional<QByteArray> BuildGetRequest(const QString& target, const QString& host,
                                          const QByteArray& proxyCredentials);

// The Base64 encoding of "user:password", the form Basic authentication sends.
QByteArray BasicCredentials(const QString& user, const QString& password);
