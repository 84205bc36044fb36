// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The HTTPS source of the network benchmarks: nginx in front of the demo server, which delays
// every reply by 50 ms as a distant network would, and the 1,024 tiles of level 5 on it.
#include "tests/e2e/demo_server_process.h"
#include "tests/e2e/tls_front.h"

#include <QStringList>
#include <benchmark/benchmark.h>
#include <functional>

struct HttpsFiftyMsAway {
    HttpsFiftyMsAway();

    TempDir dir;
    DemoServerProcess server;
    TlsFront front;
    QString urlTemplate; // "https://127.0.0.1:PORT/{z}/{x}/{y}.jpg"
    QStringList urls;    // level 5, row by row
};

// Each iteration times seconds(4), seconds(16) and seconds(1) (-1 for a failure) beside curl
// --parallel --parallel-max 4 and 16 fetching the same URLs, and reports tiles per second for
// each with the ratios; the iteration's time is that of 4 connections.
void CompareBesideParallelCurl(benchmark::State& state, const HttpsFiftyMsAway& https,
                               const std::function<double(int connections)>& seconds);
