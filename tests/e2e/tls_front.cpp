// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/e2e/tls_front.h"

#include "tests/e2e/tinyproxy_process.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

namespace {

bool Openssl(const QStringList& args) {
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"), args);
    return openssl.waitForFinished(30000) && openssl.exitStatus() == QProcess::NormalExit &&
           openssl.exitCode() == 0;
}

QStringList NewKey(const QString& keyFile) {
    return {"-newkey", "ec",      "-pkeyopt", "ec_paramgen_curve:prime256v1",
            "-nodes",  "-keyout", keyFile};
}

} // namespace

QString MakeTestCa(const TempDir& dir, const QString& name) {
    const QString pem = dir.file(name + ".pem");
    const bool made = Openssl(QStringList{"req", "-x509"} + NewKey(dir.file(name + ".key")) +
                              QStringList{"-out", pem, "-days", "2", "-subj", "/CN=" + name});
    return made ? pem : QString();
}

TlsFront::TlsFront(const TempDir& dir, int upstreamPort) {
    if (QStandardPaths::findExecutable("nginx", {"/usr/sbin", "/usr/bin"}).isEmpty() ||
        QStandardPaths::findExecutable("openssl").isEmpty()) {
        problem_ = "nginx or openssl is not installed";
        return;
    }
    caFile_ = MakeTestCa(dir, "orbivist-test-ca");
    dir.write("san.cnf", "subjectAltName=IP:127.0.0.1,DNS:localhost\n");
    if (caFile_.isEmpty() ||
        !Openssl(QStringList{"req"} + NewKey(dir.file("server.key")) +
                 QStringList{"-out", dir.file("server.csr"), "-subj", "/CN=127.0.0.1"}) ||
        !Openssl({"x509", "-req", "-in", dir.file("server.csr"), "-CA", caFile_, "-CAkey",
                  dir.file("orbivist-test-ca.key"), "-CAcreateserial", "-days", "2", "-out",
                  dir.file("server.pem"), "-extfile", dir.file("san.cnf")})) {
        problem_ = "openssl could not make the certificates";
        return;
    }
    const int port = FreePort();
    const QString d = dir.path();
    // Run as root, nginx would hand its workers to "nobody", who cannot read the test folder.
    const QString user = ::geteuid() == 0 ? "user root;\n" : "";
    // With Debian's echo module, /slow/ serves /static/ 50 ms late, as a distant server would.
    const QString echo = QStringLiteral("/usr/lib/nginx/modules/ngx_http_echo_module.so");
    const bool slow = QFileInfo::exists(echo);
    dir.write(
        "nginx.conf",
        QStringLiteral("%5%1daemon off;\nworker_processes 1;\npid %2nginx.pid;\n"
                       "error_log %2nginx.log;\nevents {}\nhttp {\n"
                       "  access_log off;\n  client_body_temp_path %2body;\n"
                       "  log_format asked '$msec $status \"$request\" \"$http_if_modified_since\" "
                       "\"$http_if_none_match\" \"$http_pragma\" \"$http_cache_control\" "
                       "$body_bytes_sent $connection $request_time';\n"
                       "  proxy_temp_path %2proxy;\n  fastcgi_temp_path %2fastcgi;\n"
                       "  uwsgi_temp_path %2uwsgi;\n  scgi_temp_path %2scgi;\n"
                       "  server {\n    listen 127.0.0.1:%3 ssl http2;\n"
                       "    ssl_certificate %2server.pem;\n"
                       "    ssl_certificate_key %2server.key;\n"
                       "    location /busy/ { add_header Retry-After 2 always; return 429; }\n"
                       "    location /to-http/ { return 302 http://127.0.0.1:%4/1/0/0.jpg; }\n"
                       "    location /static/ { root %2; expires 1h; if_modified_since before;\n"
                       "      access_log %2static.log asked; }\n"
                       "%6"
                       "    location / { proxy_pass http://127.0.0.1:%4; }\n  }\n}\n")
            .arg(user, d)
            .arg(port)
            .arg(upstreamPort)
            .arg(slow ? "load_module " + echo + ";\n" : QString(),
                 slow ? QStringLiteral("    location ~ ^/slow(/.*)$ { echo_sleep 0.05; "
                                       "echo_exec /static$1; }\n")
                      : QString())
            .toUtf8());
    nginx_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    nginx_.start(QStringLiteral("nginx"),
                 {"-p", d, "-c", dir.file("nginx.conf"), "-e", dir.file("nginx.log")});
    if (WaitUntilListening(nginx_, port))
        port_ = port;
    else
        problem_ = "nginx did not start: " + QString::fromUtf8(dir.read("nginx.log"));
}

TlsFront::~TlsFront() {
    EndServer(nginx_);
}

QString TlsFront::Url(const QString& path) const {
    return QStringLiteral("https://127.0.0.1:%1%2").arg(port_).arg(path);
}
