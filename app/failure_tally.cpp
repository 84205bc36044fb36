// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/failure_tally.h"

#include <QCoreApplication>
#include <QUrl>
#include <algorithm>

namespace {

QString HostAndPort(const QString& url) {
    const QUrl parsed(url);
    const int port = parsed.port(parsed.scheme() == QLatin1String("https") ? 443 : 80);
    return QStringLiteral("%1:%2").arg(parsed.host()).arg(port);
}

} // namespace

QString FailureInWords(const QString& url, const HttpFailure& failure) {
    if (failure.statusCode != 0)
        return QCoreApplication::translate("FailureTally", "сервер ответил %1 %2 (%3)")
            .arg(failure.statusCode)
            .arg(failure.statusText, QUrl(url).host())
            .replace(QStringLiteral("  "), QStringLiteral(" "));
    const QString& m = failure.message;
    const auto says = [&m](const char* words) {
        return m.contains(QLatin1String(words), Qt::CaseInsensitive);
    };
    if (says("cancelled") || says("callback aborted"))
        return {};
    if (says("refused") || says("couldn't connect") || says("failed to connect"))
        return QCoreApplication::translate("FailureTally", "соединение отклонено %1")
            .arg(HostAndPort(url));
    if (says("certificate"))
        return QCoreApplication::translate("FailureTally", "сертификат не доверенный: %1").arg(m);
    if (says("timed out") || says("timeout"))
        return QCoreApplication::translate("FailureTally", "нет ответа вовремя от %1")
            .arg(HostAndPort(url));
    if (says("resolve"))
        return QCoreApplication::translate("FailureTally", "не найден узел %1")
            .arg(QUrl(url).host());
    return QStringLiteral("%1 (%2)").arg(m, HostAndPort(url));
}

std::optional<HttpFailure> FailureTally::Get(const QString& url, QByteArray& body) {
    return Tallied(url, network_.Get(url, body));
}

std::optional<HttpFailure> FailureTally::GetIfChanged(const QString& url, const HeldCopy& held,
                                                      QByteArray& body) {
    return Tallied(url, network_.GetIfChanged(url, held, body));
}

std::optional<HttpFailure> FailureTally::Tallied(const QString& url,
                                                 std::optional<HttpFailure> failure) {
    // A held copy confirmed, or a fetch the quota held back, is no failure of the network.
    if (failure && failure->statusCode != kNotModified &&
        failure->statusCode != kDailyLimitReached) {
        const QString words = FailureInWords(url, *failure);
        if (!words.isEmpty()) {
            ++failures_[words];
            ++total_;
        }
    }
    return failure;
}

QString FailureTally::Commonest() const {
    if (failures_.empty())
        return {};
    const auto commonest =
        std::max_element(failures_.begin(), failures_.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    return QCoreApplication::translate("FailureTally", "%1 (%2 из %3 неудачных загрузок)")
        .arg(commonest->first)
        .arg(commonest->second)
        .arg(total_);
}
