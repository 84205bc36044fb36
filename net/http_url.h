// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A URL taken apart the way a GET request needs it.
#include <QString>
#include <optional>

struct HttpUrl {
    QString scheme;          // empty when the URL has no "://"
    QString host;            // empty when the URL names none
    std::optional<int> port; // only when the URL gives a decimal port (-1 if out of range)
    QString target;          // what follows the authority, starting with '/', without fragment
};

// Without "://" the whole text is the target. A fragment ('#' and what follows) is never
// part of a request and is dropped.
HttpUrl SplitUrl(const QString& url);
