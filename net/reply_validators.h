// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a reply says about its own freshness: the validators a later request may send back
// (ETag, Last-Modified) and how long the server lets a copy be used without asking
// (Cache-Control: max-age, else Expires).
#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <optional>

struct ReplyValidators {
    QByteArray etag;                   // as the server wrote it, quotes included; may be empty
    std::int64_t lastModifiedSecs = 0; // seconds since 1970 (UTC); 0 when not given
    // Seconds since 1970 until which the copy is fresh; nothing when the server did not say.
    std::optional<std::int64_t> freshUntilSecs;
    bool freshFromMaxAge = false; // max-age said it, which Expires then does not change

    bool operator==(const ReplyValidators&) const = default;
};

// Reads one header line of a reply received at nowSecs into validators. A status line starts
// them afresh: only the last reply of a redirect counts.
void TakeValidatorHeader(QByteArrayView line, std::int64_t nowSecs, ReplyValidators& validators);
