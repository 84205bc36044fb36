// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/reply_validators.h"

#include <QList>
#include <gtest/gtest.h>

TEST(ReplyValidators, TakesTheTagTheTimeAndTheFreshnessOfTheLastReply) {
    constexpr std::int64_t kNow = 1'700'000'000;
    constexpr std::int64_t kOct2015 = 1'445'412'480; // Wed, 21 Oct 2015 07:28:00 GMT
    const struct {
        QList<QByteArray> lines;
        ReplyValidators expected;
    } cases[] = {
        {{"HTTP/1.1 200 OK\r\n", "ETag: \"5f-abc\"\r\n",
          "Last-Modified: Wed, 21 Oct 2015 07:28:00 GMT\r\n",
          "Cache-Control: public, max-age=600\r\n"},
         {"\"5f-abc\"", kOct2015, kNow + 600, true}},
        // max-age wins over Expires in either order; Expires alone is a date.
        {{"Expires: Wed, 21 Oct 2015 07:28:00 GMT", "cache-control: max-age=60"},
         {{}, 0, kNow + 60, true}},
        {{"Cache-Control: max-age=60", "Expires: Wed, 21 Oct 2015 07:28:00 GMT"},
         {{}, 0, kNow + 60, true}},
        {{"Expires: Wed, 21 Oct 2015 07:28:00 GMT"}, {{}, 0, kOct2015, false}},
        {{"Expires: 0"}, {{}, 0, kNow, false}}, // unreadable: already expired
        {{"Cache-Control: no-cache"}, {{}, 0, kNow, true}},
        {{"Cache-Control: public"}, {}},
        {{"Last-Modified: yesterday", "ETag: W/\"x\""}, {"W/\"x\"", 0, std::nullopt, false}},
        // A redirect's own headers are forgotten at the next status line.
        {{"HTTP/1.1 302 Found", "ETag: \"old\"", "Cache-Control: max-age=5", "HTTP/2 200",
          "Server: nginx"},
         {}},
    };
    for (const auto& c : cases) {
        ReplyValidators got;
        for (const QByteArray& line : c.lines)
            TakeValidatorHeader(line, kNow, got);
        EXPECT_EQ(got, c.expected) << c.lines.join('|').toStdString();
    }
}
