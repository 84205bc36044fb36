// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/held_copy_request.h"

QByteArrayList ExtraRequestHeaders(const std::optional<HeldCopy>& held) {
    QByteArrayList headers{QByteArrayLiteral("Pragma:")};
    // A tag is one token of visible characters: anything that could end the header is no tag.
    if (held && !held->etag.isEmpty() && !held->etag.contains('\r') && !held->etag.contains('\n'))
        headers << "If-None-Match: " + held->etag;
    return headers;
}
