// SPDX-License-Identifier: GPL-3.0-or-later
// Why fetches failed, in words, and the demo server the program starts for itself.
#include "app/demo_server_launch.h"
#include "app/failure_tally.h"

#include <gtest/gtest.h>

TEST(FailureTally, SaysEachFailureInWords) {
    const struct {
        const char* url;
        HttpFailure failure;
        const char* words;
    } cases[] = {
        {"http://127.0.0.1:47321/kh?t=tq",
         {0, "", "connect: Connection refused"},
         "соединение отклонено 127.0.0.1:47321"},
        {"https://h.example/1/0/0.jpg",
         {0, "", "Failed to connect to h.example port 443 after 0 ms: Couldn't connect to server"},
         "соединение отклонено h.example:443"},
        {"https://h.example/1/0/0.jpg",
         {0, "", "SSL certificate problem: unable to get local issuer certificate"},
         "сертификат не доверенный: SSL certificate problem: unable to get local issuer "
         "certificate"},
        {"http://h.example:8080/a",
         {404, "Not Found", "reply Not Found"},
         "сервер ответил 404 Not Found (h.example)"},
        {"http://h.example/a",
         {0, "", "connecting to h.example:80 timed out"},
         "нет ответа вовремя от h.example:80"},
        {"http://h.example/a", {0, "", "the wait was cancelled"}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FailureInWords(c.url, c.failure), c.words) << c.failure.message.toStdString();
}

TEST(DemoServerLaunch, OnlyTheDemoSourceOnItsDefaultAddressStartsTheServer) {
    SourceDefinition osm;
    osm.name = "osm";
    const struct {
        SourceDefinition source;
        const char* prefix;
        bool starts;
    } cases[] = {
        {DemoSource(), "http://127.0.0.1:47321/kh?v=5&n=404&t=t", true},
        {DemoSource(), "http://127.0.0.1:47321/other?t=", true},
        {DemoSource(), "http://127.0.0.1:47322/kh?v=5&n=404&t=t", false},
        {DemoSource(), "http://localhost:47321/kh?t=t", false},
        {DemoSource(), "http://10.0.0.1:47321/kh?t=t", false},
        {osm, "http://127.0.0.1:47321/kh?v=5&n=404&t=t", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UsesDefaultDemoServer(c.source, c.prefix), c.starts) << c.prefix;
}
