// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/curl_seconds.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

double CurlSeconds(const QStringList& urls, const QString& dir, const QStringList& extraArgs) {
    QFile config(dir + "curl.cfg");
    if (!config.open(QIODevice::WriteOnly))
        return -1;
    for (int i = 0; i < urls.size(); ++i)
        config.write(QStringLiteral("url = \"%1\"\noutput = \"%2%3.jpg\"\n")
                         .arg(urls[i], dir)
                         .arg(i)
                         .toUtf8());
    config.close();
    QElapsedTimer timer;
    timer.start();
    QProcess curl;
    curl.start(QStringLiteral("curl"),
               QStringList{"--silent", "--fail", "--config", config.fileName()} + extraArgs);
    if (!curl.waitForFinished(600000) || curl.exitCode() != 0)
        return -1;
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}
