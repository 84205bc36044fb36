// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One transfer of the libcurl transport: its handle and the reply body it gathers.
#include "net/curl_transport.h"

#include <QDateTime>
#include <curl/curl.h>

struct CurlEasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

struct CurlHeadersDeleter {
    void operator()(curl_slist* headers) const { curl_slist_free_all(headers); }
};

struct CurlTransport::Transfer {
    std::unique_ptr<curl_slist, CurlHeadersDeleter> headers; // outlives the handle that uses it
    std::unique_ptr<CURL, CurlEasyDeleter> easy;
    qsizetype index = 0;
    QByteArray body;
    qint64 bodyLimit = 0;
    bool tooLarge = false;
    ReplyValidators validators;
    char error[CURL_ERROR_SIZE] = {};
    QByteArray url, proxy, user, password, caFile; // curl keeps pointers to none of them, but
                                                   // they live as long as the transfer anyway

    static size_t Write(char* data, size_t size, size_t count, void* self) {
        auto& t = *static_cast<Transfer*>(self);
        const auto bytes = static_cast<qsizetype>(size * count);
        if (t.body.size() + bytes > t.bodyLimit) {
            t.tooLarge = true;
            return 0; // aborts the transfer
        }
        t.body.append(data, bytes);
        return size * count;
    }

    static size_t Header(char* data, size_t size, size_t count, void* self) {
        TakeValidatorHeader(QByteArrayView(data, static_cast<qsizetype>(size * count)),
                            QDateTime::currentSecsSinceEpoch(),
                            static_cast<Transfer*>(self)->validators);
        return size * count;
    }
};
