// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/dialup/dial_up.h"

#include "batch/dialup/errors_caption.h"

#include <QCoreApplication>
#include <QThread>

void DialConnection(DialUpService& service, DialReporter& reporter, const QString& entry,
                    const QString& user, const QString& password) {
    reporter.SetStatus(QCoreApplication::translate("DialUp", "Подключение..."));
    const DialParams params{entry.left(kDialFieldLength), user.left(kDialFieldLength),
                            password.left(kDialFieldLength)};
    ConnectionHandle handle = 0;
    const std::uint32_t code = service.Dial(params, handle);
    if (code == 0)
        return;
    // A half-made connection would otherwise stay up, and be paid for, after the failure.
    if (handle != 0)
        service.HangUp(handle);
    if (const std::optional<QString> text = service.ErrorText(code))
        reporter.ShowMessage(ErrorsCaption(), *text);
}

bool HangUpAllConnections(DialUpService& service, DialReporter& reporter,
                          const HangUpBound& bound) {
    reporter.SetStatus(QCoreApplication::translate("DialUp", "Отключение..."));
    for (int pass = 0; pass < bound.passes; ++pass) {
        const std::vector<ConnectionHandle> active = service.EnumConnections(kConnectionListRoom);
        if (active.empty())
            return true;
        service.HangUp(active.back());
        if (bound.pause.count() > 0)
            QThread::msleep(static_cast<unsigned long>(bound.pause.count()));
    }
    if (service.EnumConnections(kConnectionListRoom).empty())
        return true;
    reporter.ShowMessage(ErrorsCaption(),
                         QCoreApplication::translate(
                             "DialUp", "Не удалось разорвать соединение: оно осталось активным"));
    return false;
}
