// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/http_reply_reader.h"

#include <algorithm>

using Status = HttpReplyReader::Status;

Status HttpReplyReader::Fill() {
    if (pendingStart_ > 0) {
        pending_.remove(0, pendingStart_);
        pendingStart_ = 0;
    }
    const qsizetype oldSize = pending_.size();
    pending_.resize(oldSize + kReceivePiece);
    const qint64 n = socket_.Receive(pending_.data() + oldSize, kReceivePiece,
                                     heard_ ? wait_ : firstByteWait_, error_);
    pending_.resize(oldSize + std::max<qint64>(n, 0));
    heard_ = heard_ || n > 0;
    if (n < 0)
        return Status::Failed;
    return n == 0 ? Status::Closed : Status::Ok;
}

Status HttpReplyReader::ReadLine(QByteArray& line, qsizetype maxLength) {
    qsizetype searchFrom = pendingStart_;
    for (;;) {
        const qsizetype lf = pending_.indexOf('\n', searchFrom);
        if (lf >= 0) {
            qsizetype end = lf;
            if (end > pendingStart_ && pending_[end - 1] == '\r')
                --end;
            line = pending_.mid(pendingStart_, end - pendingStart_);
            pendingStart_ = lf + 1;
            return Status::Ok;
        }
        if (pending_.size() - pendingStart_ > maxLength) {
            error_ = QStringLiteral("reply line longer than %1 bytes").arg(maxLength);
            return Status::Failed;
        }
        searchFrom = pending_.size() - pendingStart_;
        const Status s = Fill();
        if (s != Status::Ok)
            return s;
        searchFrom += pendingStart_;
    }
}

Status HttpReplyReader::ReadExact(qint64 count, QByteArray& out) {
    const qsizetype start = out.size();
    out.resize(start + count);
    qsizetype filled = start;
    const qsizetype end = start + count;

    const qsizetype fromPending = std::min<qsizetype>(pending_.size() - pendingStart_, count);
    std::copy_n(pending_.constData() + pendingStart_, fromPending, out.data() + filled);
    pendingStart_ += fromPending;
    filled += fromPending;

    // The rest goes straight from the socket into its place.
    while (filled < end) {
        const qint64 piece = std::min<qint64>(end - filled, kReceivePiece);
        const qint64 n = socket_.Receive(out.data() + filled, piece, wait_, error_);
        if (n <= 0) {
            out.resize(filled);
            return n == 0 ? Status::Closed : Status::Failed;
        }
        filled += n;
    }
    return Status::Ok;
}

Status HttpReplyReader::ReadToClose(QByteArray& out, qint64 limit) {
    for (;;) {
        const qsizetype available = pending_.size() - pendingStart_;
        if (out.size() + available > limit) {
            error_ = QStringLiteral("reply body larger than %1 bytes").arg(limit);
            return Status::Failed;
        }
        out.append(pending_.constData() + pendingStart_, available);
        pending_.clear();
        pendingStart_ = 0;
        const Status s = Fill();
        if (s == Status::Closed)
            return Status::Ok;
        if (s == Status::Failed)
            return s;
    }
}
