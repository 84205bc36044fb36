// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/transfer_window.h"

#include "net/curl_transfer.h"

#include <curl/curl.h>

void* TransferWindow::Multi() const {
    return transport_.multi_.get();
}

TransferWindow::TransferWindow(CurlTransport& transport) : transport_(transport) {
    owner_ = !transport_.fetching_ && transport_.multi_;
    if (owner_)
        transport_.fetching_ = true;
}

TransferWindow::~TransferWindow() {
    DropAll();
    if (owner_)
        transport_.fetching_ = false;
}

bool TransferWindow::HasRoom(bool conditional) const {
    const auto now = CurlTransport::Clock::now();
    return owner_ &&
           running_.size() < static_cast<std::size_t>(transport_.MostAtOnce(conditional)) &&
           now >= transport_.pausedUntil_ &&
           transport_.pace_.Wait(now) == CurlTransport::Clock::duration::zero();
}

void TransferWindow::Start(const QString& url, qsizetype id, const CurlTransport::Done& done,
                           const std::optional<HeldCopy>& held) {
    transport_.pace_.Started(CurlTransport::Clock::now());
    if (DailyQuota* quota = transport_.settings_.quota; quota && !quota->Take()) {
        UrlFetch refused;
        refused.statusCode = kDailyLimitReached;
        refused.message = QStringLiteral("the daily quota is used up");
        transport_.pace_.Dropped(0, CurlTransport::Clock::now());
        done(id, std::move(refused));
        return;
    }
    const bool proxyUnusable =
        !transport_.settings_.proxy.server.isEmpty() && transport_.settings_.proxy.port == 0;
    std::unique_ptr<CurlTransport::Transfer> t =
        !owner_ || proxyUnusable ? nullptr : transport_.Start(url, id, held);
    CURLM* multi = Multi();
    if (!t || curl_multi_add_handle(multi, t->easy.get()) != CURLM_OK) {
        UrlFetch failed;
        failed.message = proxyUnusable ? QStringLiteral("the proxy port is not set")
                         : !transport_.caFileProblem_.isEmpty()
                             ? transport_.caFileProblem_
                             : QStringLiteral("the transfer cannot start");
        transport_.pace_.Dropped(0, CurlTransport::Clock::now());
        done(id, std::move(failed));
        return;
    }
    void* easy = t->easy.get();
    running_.emplace(easy, std::move(t));
}

int TransferWindow::Pump(const CurlTransport::Done& done) {
    if (!owner_)
        return 0;
    CURLM* multi = Multi();
    int stillRunning = 0;
    curl_multi_perform(multi, &stillRunning);
    int ended = 0;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        const auto found = running_.find(message->easy_handle);
        if (found == running_.end())
            continue;
        std::unique_ptr<CurlTransport::Transfer> t = std::move(found->second);
        running_.erase(found);
        const CURLcode code = message->data.result; // read before the handle goes away
        curl_multi_remove_handle(multi, t->easy.get());
        done(t->index, transport_.Finish(*t, code));
        ++ended;
    }
    return ended;
}

void TransferWindow::Wait(std::chrono::milliseconds wait) {
    if (!owner_)
        return;
    const auto paceWait = std::chrono::ceil<std::chrono::milliseconds>(
        transport_.pace_.Wait(CurlTransport::Clock::now()));
    if (paceWait > std::chrono::milliseconds::zero() && paceWait < wait)
        wait = paceWait;
    curl_multi_poll(Multi(), nullptr, 0, static_cast<int>(wait.count()), nullptr);
}

void TransferWindow::Drop(qsizetype id) {
    for (auto it = running_.begin(); it != running_.end(); ++it) {
        if (it->second->index == id) {
            curl_multi_remove_handle(Multi(), it->first);
            transport_.pace_.Dropped(it->second->body.size(), CurlTransport::Clock::now());
            running_.erase(it);
            return;
        }
    }
}

void TransferWindow::DropAll() {
    for (auto& [easy, transfer] : running_) {
        curl_multi_remove_handle(Multi(), easy);
        transport_.pace_.Dropped(transfer->body.size(), CurlTransport::Clock::now());
    }
    running_.clear();
}
