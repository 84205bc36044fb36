// SPDX-License-Identifier: GPL-3.0-or-later
// The text of --help: the synopsis of each command and every option with its range.
#include "app/command_line.h"

#include "gis/area_file.h"
#include "store/settings.h"

#include <QCoreApplication>
#include <vector>

namespace {

enum Runs : unsigned {
    kViewer = 1,
    kStitch = 2,
    kPrefill = 4,
    kExport = 8,
    kJobs = kStitch | kPrefill | kExport,
    kAll = kViewer | kJobs,
};

struct OptionHelp {
    const char* option;
    QString text; // may span lines; each continuation is indented by the caller
    unsigned runs;
};

QString Range(SpinRange range) {
    return QCoreApplication::translate("UsageText", "от %1 до %2").arg(range.min).arg(range.max);
}

std::vector<OptionHelp> Options() {
    namespace R = SettingsRange;
    return {
        {"--home DIR",
         QCoreApplication::translate(
             "UsageText", "папка программы с ORB.ini, Favorites.dat и кэшем Cash/ (по умолчанию: "
                          "папка исполняемого файла; у установленной программы: "
                          "$XDG_DATA_HOME/orbivist, ~/.local/share/orbivist)"),
         kAll},
        {"--source NAME",
         QCoreApplication::translate("UsageText",
                                     "источник снимков из Sources.ini или DIR/MySources.ini по "
                                     "имени (по умолчанию: выбранный в окне, иначе demo)"),
         kAll},
        {"--lang en|ru",
         QCoreApplication::translate("UsageText",
                                     "язык окна и всех сообщений (по умолчанию: английский при "
                                     "английской локали, иначе русский)"),
         kAll},
        {"--output FILE",
         QCoreApplication::translate(
             "UsageText", "ФАЙЛ.jpg: прогрессивный JPEG с .map, .jgw, .prj и .aux.xml рядом (имя "
                          "без расширения получает .jpg); ФАЙЛ.tif: Cloud-Optimized GeoTIFF "
                          "(EPSG:3857) любого размера, какой вместит диск"),
         kStitch},
        {"--output FILE",
         QCoreApplication::translate(
             "UsageText",
             "формат по расширению имени: .mbtiles, .gpkg (GeoPackage), .sqlitedb (OsmAnd, Locus), "
             ".orux (папка карты OruxMaps), .pmtiles или .kmz, наложения самого глубокого уровня "
             "(не больше 100 снимков по 4 x 4 фрагмента, предел пользовательских карт Garmin)"),
         kExport},
        {"--columns W",
         QCoreApplication::translate(
             "UsageText", "фрагментов к востоку от левого верхнего фрагмента вида, 1 или больше"),
         kStitch},
        {"--rows H",
         QCoreApplication::translate("UsageText", "фрагментов к югу от него, 1 или больше"),
         kStitch},
        {"--quality Q",
         QCoreApplication::translate("UsageText", "качество JPEG, %1").arg(Range(R::JpegQuality)),
         kStitch},
        {"--depth D",
         QCoreApplication::translate("UsageText", "самый глубокий уровень, от уровня вида до %1")
             .arg(R::SearchLevel.max),
         kPrefill | kExport},
        {"--at LAT,LON",
         QCoreApplication::translate(
             "UsageText",
             "сначала поставить вид на точку, как это делает поиск: десятичные градусы, широта от "
             "-90 до 90, долгота от -180 до 180, север и восток положительны"),
         kJobs},
        {"--level L",
         QCoreApplication::translate(
             "UsageText", "с --at уровень вида, %1; с --bbox или --area склеиваемый уровень")
             .arg(Range(R::SearchLevel)),
         kJobs},
        {"--bbox W,S,E,N",
         QCoreApplication::translate("UsageText",
                                     "своя область вместо области вида, в десятичных градусах "
                                     "(запад больше востока пересекает 180-й меридиан)"),
         kJobs},
        {"--area FILE",
         QCoreApplication::translate(
             "UsageText", "область из файла GPX, KML, KMZ, GeoJSON, Shapefile или GeoPackage"),
         kJobs},
        {"--buffer METRES",
         QCoreApplication::translate("UsageText", "с --area полосы по обе стороны его линий и "
                                                  "вокруг его точек, от 0 до %1 (по умолчанию 500)")
             .arg(static_cast<int>(kMaxBufferMetres)),
         kJobs},
        {"--levels A-B",
         QCoreApplication::translate("UsageText", "с областью все уровни с A по B, %1")
             .arg(Range(R::SearchLevel)),
         kPrefill | kExport},
        {"--dry-run",
         QCoreApplication::translate(
             "UsageText", "с областью вывести по уровням число фрагментов, сколько из них скачать, "
                          "их примерный размер и свободное место, и ничего не скачивать"),
         kPrefill | kExport},
        {"--retries N",
         QCoreApplication::translate("UsageText",
                                     "попыток на фрагмент, %1 (по умолчанию из ORB.ini)")
             .arg(Range(R::FetchAttempts)),
         kJobs},
        {"--retry-pause S",
         QCoreApplication::translate("UsageText", "секунд между попытками, %1")
             .arg(Range(R::RetryInterval)),
         kJobs},
        {"--max-errors receive=N,bad=N,write=N",
         QCoreApplication::translate("UsageText",
                                     "остановиться при стольких ошибках получения (%1), ошибочных "
                                     "файлах (%2) или ошибках записи (%3); любое из трёх")
             .arg(Range(R::ReceiveErrorLimit), Range(R::BadFileErrorLimit),
                  Range(R::WriteErrorLimit)),
         kJobs},
        {"--refresh-older-than DAYS",
         QCoreApplication::translate("UsageText",
                                     "спросить у сервера снова о фрагментах кэша старше стольких "
                                     "дней (0: обо всех): неизменённые остаются, изменённые "
                                     "заменяются, при недоступном сервере остаются прежние"),
         kPrefill | kExport},
        {"--rate N",
         QCoreApplication::translate("UsageText",
                                     "не больше N запросов в секунду к источнику; только ниже "
                                     "его rate (по умолчанию из файла источников)"),
         kJobs},
        {"--bandwidth BYTES",
         QCoreApplication::translate("UsageText",
                                     "не больше стольких байт в секунду от источника (500k, 2M); "
                                     "только ниже его bandwidth"),
         kJobs},
        {"--delay H:MM",
         QCoreApplication::translate("UsageText", "сначала подождать столько, часы %1, минуты %2")
             .arg(Range(R::DelayHours), Range(R::DelayMinutes)),
         kStitch | kPrefill},
        {"--dial ENTRY",
         QCoreApplication::translate(
             "UsageText",
             "сначала дозвониться через пир pppd; пароль берётся из ORBIVIST_DIAL_PASSWORD"),
         kStitch | kPrefill},
        {"--user NAME",
         QCoreApplication::translate("UsageText",
                                     "с --dial имя пользователя (по умолчанию из файла пира)"),
         kStitch | kPrefill},
        {"--hang-up",
         QCoreApplication::translate("UsageText", "после работы разорвать все соединения дозвона "
                                                  "(без этого параметра ничего не разрывается)"),
         kStitch | kPrefill},
        {"--help", QCoreApplication::translate("UsageText", "показать этот текст"), kAll},
        {"--version", QCoreApplication::translate("UsageText", "вывести версию"), kViewer},
    };
}

// text in lines of at most width characters, broken between words, joined by separator.
QString Wrapped(const QString& text, qsizetype width, const QString& separator) {
    QStringList lines{QString()};
    for (const QString& word : QString(text).replace(u'\n', u' ').split(u' ', Qt::SkipEmptyParts)) {
        if (!lines.last().isEmpty() && lines.last().size() + 1 + word.size() > width)
            lines << QString();
        lines.last() += (lines.last().isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    return lines.join(separator);
}

unsigned RunsOf(const QString& command) {
    if (command == QLatin1String("stitch"))
        return kStitch;
    if (command == QLatin1String("prefill"))
        return kPrefill;
    if (command == QLatin1String("export"))
        return kExport;
    return kAll;
}

QString Synopsis(unsigned runs) {
    const QString usage = QCoreApplication::translate("UsageText", "Вызов:");
    const QString indent(usage.size() + 1, u' ');
    const QString describedIndent = QStringLiteral("\n") + indent + QStringLiteral("    ");
    QString text;
    const auto line = [&](unsigned run, const char* synopsis, const QString& what) {
        if (!(runs & run))
            return;
        text += (text.isEmpty() ? usage + u' ' : indent) + QString::fromUtf8(synopsis);
        if (!what.isEmpty())
            text += describedIndent + Wrapped(what, 79 - (indent.size() + 4), describedIndent);
        text += u'\n';
    };
    line(kViewer, "orbivist [--home DIR] [--source NAME] [--lang en|ru]", {});
    line(kStitch, "orbivist stitch --output FILE [OPTIONS]",
         QCoreApplication::translate(
             "UsageText", "скачать W x H фрагментов к востоку и югу от левого верхнего фрагмента "
                          "вида или фрагменты, покрывающие --bbox или --area на уровне --level, "
                          "одной картинкой"));
    line(kPrefill, "orbivist prefill [OPTIONS]",
         QCoreApplication::translate("UsageText",
                                     "скачать в кэш все фрагменты области вида на уровне D"));
    line(kExport, "orbivist export --output FILE [OPTIONS]",
         QCoreApplication::translate("UsageText",
                                     "записать все фрагменты этой области с уровня вида по D, из "
                                     "кэша или скачанные, в ФАЙЛ формата, который задаёт его имя"));
    return text;
}

} // namespace

QString UsageText(const QString& command) {
    constexpr int kColumn = 24;
    constexpr int kWidth = 79;
    const QString newLine = QStringLiteral("\n");
    const unsigned runs = RunsOf(command);
    QString text = Synopsis(runs);
    if (runs == kAll)
        text +=
            newLine +
            Wrapped(QCoreApplication::translate(
                        "UsageText",
                        "Просмотр спутниковых снимков с кэшем фрагментов для работы без сети. Без "
                        "команды открывает окно; команды выполняют пакетное задание без дисплея. "
                        "orbivist КОМАНДА --help перечисляет параметры одной команды."),
                    kWidth, newLine) +
            newLine;
    text += QCoreApplication::translate("UsageText", "\nПараметры:\n");
    const QString indent(kColumn, u' ');
    for (const OptionHelp& o : Options()) {
        if (!(o.runs & runs))
            continue;
        QString name = QStringLiteral("  ") + QString::fromUtf8(o.option);
        const QString body = Wrapped(o.text, kWidth - kColumn, newLine + indent);
        text += name.size() < kColumn ? name.leftJustified(kColumn) + body + newLine
                                      : name + newLine + indent + body + newLine;
    }
    if (runs & kJobs) {
        const QString paragraphs[] = {
            QCoreApplication::translate(
                "UsageText",
                "Настройки, которые не указаны, берутся из DIR/ORB.ini; команды его никогда не "
                "записывают. Каждый параметр указывается не больше одного раза. Источник по "
                "шаблону доверяет сертификатам из ORBIVIST_CA_FILE наряду с системными, а его "
                "User-Agent называет ORBIVIST_CONTACT. Демо-источник на адресе по умолчанию "
                "запускает входящий в программу orbivist-tileserver, когда там никто не отвечает. "
                "Ход работы выводится в стандартный поток ошибок; Ctrl+C отменяет работу на "
                "следующем фрагменте."),
            QCoreApplication::translate(
                "UsageText", "Код выхода: 0 готово, 1 сбой, 2 достигнут предел ошибок, 3 картинка "
                             "или карта слишком велика, 4 отменено, 5 готово, но некоторые "
                             "фрагменты получить не удалось (последняя строка говорит, сколько; на "
                             "склеенной картинке вместо каждого заглушка)."),
        };
        for (const QString& paragraph : paragraphs)
            text += newLine + Wrapped(paragraph, kWidth, newLine) + newLine;
    }
    return text;
}
