// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The request headers of a transfer beyond libcurl's own: the conditions of a held copy, and
// the removal of any header that would tell a cache in between to skip its copy, which
// providers' usage policies forbid.
#include "net/http_get.h"

#include <QByteArrayList>
#include <optional>

// "If-None-Match: <tag>" when the held copy has a tag (libcurl itself sends If-Modified-Since
// from its time), and "Pragma:", which keeps libcurl from ever sending "Pragma: no-cache".
QByteArrayList ExtraRequestHeaders(const std::optional<HeldCopy>& held);
