#include "batch/pppd_exit_texts.h"

#include <array>

namespace {

// Indexed by pppd's exit status, as its manual lists them.
constexpr std::array<const char*, 20> kExitTexts = {
    "Соединение установлено",
    "Неустранимая ошибка pppd: сбой системного вызова или нехватка памяти",
    "Ошибка в параметрах подключения",
    "pppd не может работать: он не установлен с правами root, а пользователь не root",
    "Ядро не поддерживает PPP",
    "pppd остановлен сигналом SIGINT, SIGTERM или SIGHUP",
    "Не удалось заблокировать последовательный порт",
    "Не удалось открыть последовательный порт",
    "Ошибка сценария установки связи (connect)",
    "Не удалось запустить команду, заданную параметром pty",
    "Согласование PPP не удалось: ни один сетевой протокол не заработал",
    "Удалённая система не прошла проверку подлинности или отказалась от неё",
    "Соединение было установлено и разорвано из-за простоя",
    "Соединение было установлено и разорвано по истечении предельного времени",
    "Согласован обратный вызов: скоро должен поступить входящий звонок",
    "Соединение разорвано: удалённая система не отвечает на эхо-запросы",
    "Соединение разорвано: модем положил трубку",
    "Согласование PPP не удалось: на линии обнаружена петля",
    "Ошибка сценария инициализации (init)",
    "Не удалось пройти проверку подлинности на удалённой системе",
};

} // namespace

QString PppdErrorText(std::uint32_t code) {
    if (code < kExitTexts.size())
        return QString::fromUtf8(kExitTexts[code]);
    switch (code) {
    case kPppdNoSuchPeer:
        return QStringLiteral("Такого подключения нет в списке подключений");
    case kPppdCannotStart:
        return QStringLiteral("Не удалось запустить pppd");
    case kPppdCrashed:
        return QStringLiteral("pppd завершился аварийно");
    case kPppdCannotPassPassword:
        return QStringLiteral("Не удалось передать пароль pppd: временный файл не записан");
    case kPppdCancelled:
        return QStringLiteral("Подключение отменено");
    default:
        return QStringLiteral("Неизвестная ошибка подключения (код ") + QString::number(code) +
               QStringLiteral(")");
    }
}
