// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/dialup/pppd_exit_texts.h"

#include <QCoreApplication>
#include <array>

namespace {

// Indexed by pppd's exit status, as its manual lists them.
constexpr std::array<const char*, 20> kExitTexts = {
    QT_TRANSLATE_NOOP("PppdExit", "Соединение установлено"),
    QT_TRANSLATE_NOOP("PppdExit",
                      "Неустранимая ошибка pppd: сбой системного вызова или нехватка памяти"),
    QT_TRANSLATE_NOOP("PppdExit", "Ошибка в параметрах подключения"),
    QT_TRANSLATE_NOOP(
        "PppdExit",
        "pppd не может работать: он не установлен с правами root, а пользователь не root"),
    QT_TRANSLATE_NOOP("PppdExit", "Ядро не поддерживает PPP"),
    QT_TRANSLATE_NOOP("PppdExit", "pppd остановлен сигналом SIGINT, SIGTERM или SIGHUP"),
    QT_TRANSLATE_NOOP("PppdExit", "Не удалось заблокировать последовательный порт"),
    QT_TRANSLATE_NOOP("PppdExit", "Не удалось открыть последовательный порт"),
    QT_TRANSLATE_NOOP("PppdExit", "Ошибка сценария установки связи (connect)"),
    QT_TRANSLATE_NOOP("PppdExit", "Не удалось запустить команду, заданную параметром pty"),
    QT_TRANSLATE_NOOP("PppdExit",
                      "Согласование PPP не удалось: ни один сетевой протокол не заработал"),
    QT_TRANSLATE_NOOP("PppdExit",
                      "Удалённая система не прошла проверку подлинности или отказалась от неё"),
    QT_TRANSLATE_NOOP("PppdExit", "Соединение было установлено и разорвано из-за простоя"),
    QT_TRANSLATE_NOOP("PppdExit",
                      "Соединение было установлено и разорвано по истечении предельного времени"),
    QT_TRANSLATE_NOOP("PppdExit",
                      "Согласован обратный вызов: скоро должен поступить входящий звонок"),
    QT_TRANSLATE_NOOP("PppdExit",
                      "Соединение разорвано: удалённая система не отвечает на эхо-запросы"),
    QT_TRANSLATE_NOOP("PppdExit", "Соединение разорвано: модем положил трубку"),
    QT_TRANSLATE_NOOP("PppdExit", "Согласование PPP не удалось: на линии обнаружена петля"),
    QT_TRANSLATE_NOOP("PppdExit", "Ошибка сценария инициализации (init)"),
    QT_TRANSLATE_NOOP("PppdExit", "Не удалось пройти проверку подлинности на удалённой системе"),
};

} // namespace

QString PppdErrorText(std::uint32_t code) {
    if (code < kExitTexts.size())
        return QCoreApplication::translate("PppdExit", kExitTexts[code]);
    switch (code) {
    case kPppdNoSuchPeer:
        return QCoreApplication::translate("PppdExit",
                                           "Такого подключения нет в списке подключений");
    case kPppdCannotStart:
        return QCoreApplication::translate("PppdExit", "Не удалось запустить pppd");
    case kPppdCrashed:
        return QCoreApplication::translate("PppdExit", "pppd завершился аварийно");
    case kPppdCannotPassPassword:
        return QCoreApplication::translate(
            "PppdExit", "Не удалось передать пароль pppd: временный файл не записан");
    case kPppdCancelled:
        return QCoreApplication::translate("PppdExit", "Подключение отменено");
    default:
        return QCoreApplication::translate("PppdExit", "Неизвестная ошибка подключения (код %1)")
            .arg(code);
    }
}
