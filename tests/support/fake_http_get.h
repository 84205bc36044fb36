// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An HttpGet that plays back scripted replies and remembers what was asked of it.
#include "net/http_get.h"

#include <QStringList>
#include <deque>
#include <utility>
#include <variant>

class FakeHttpGet : public HttpGet {
public:
    void Reply(const QByteArray& body) { script_.emplace_back(body); }
    void Fail(int status = 0) {
        script_.emplace_back(HttpFailure{status, {}, QStringLiteral("scripted failure")});
    }

    // Once the script is used up every request fails.
    std::optional<HttpFailure> Get(const QString& url, QByteArray& body) override {
        requests.append(url);
        if (script_.empty())
            return HttpFailure{0, {}, QStringLiteral("unscripted request")};
        if (whileAwaited_) // a scripted request is one that left, as a real client's does
            std::exchange(whileAwaited_, nullptr)();
        const auto next = script_.front();
        script_.pop_front();
        if (const auto* failure = std::get_if<HttpFailure>(&next))
            return *failure;
        body = std::get<QByteArray>(next);
        return std::nullopt;
    }

    void WhileReplyIsAwaited(std::function<void()> work) override {
        whileAwaited_ = std::move(work);
    }

    QStringList requests;

private:
    std::function<void()> whileAwaited_;
    std::deque<std::variant<QByteArray, HttpFailure>> script_;
};
