<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru_RU">
<context>
    <name>AreaFile</name>
    <message>
        <source>Файл области %1 не читается: %2</source>
        <translation>The area file %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>В файле области %1 нет ни областей, ни линий, ни точек</source>
        <translation>The area file %1 has no areas, lines or points</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>нет места на диске</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>нет доступа</source>
        <translation>access denied</translation>
    </message>
    <message>
        <source>папка не существует</source>
        <translation>the folder does not exist</translation>
    </message>
    <message>
        <source>ошибка записи</source>
        <translation>write error</translation>
    </message>
    <message>
        <source>не обычный файл</source>
        <translation>not a regular file</translation>
    </message>
</context>
<context>
    <name>BatchCommand</name>
    <message>
        <source>дневной лимит источника (%1 запросов) исчерпан; продолжить можно с %2</source>
        <translation>the source&apos;s daily limit (%1 requests) is used up; it may go on from %2</translation>
    </message>
    <message>
        <source>обновление кэша: подтверждено %1, заменено %2, оставлено прежними %3</source>
        <translation>cache refresh: %1 confirmed, %2 replaced, %3 kept stale</translation>
    </message>
    <message>
        <source>нет такой папки: %1</source>
        <translation>no such directory: %1</translation>
    </message>
    <message>
        <source>папки кэша %1 нет</source>
        <translation>the cache directory %1 does not exist</translation>
    </message>
    <message>
        <source>отменено</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>остановлено по пределу ошибок</source>
        <translation>stopped at the error limit</translation>
    </message>
    <message>
        <source>остановлено по пределу ошибок: %1</source>
        <translation>stopped at the error limit: %1</translation>
    </message>
    <message>
        <source>не удалось</source>
        <translation>failed</translation>
    </message>
    <message>
        <source>не удалось: %1</source>
        <translation>failed: %1</translation>
    </message>
    <message>
        <source>отказано: слишком большой объём</source>
        <translation>refused: too large</translation>
    </message>
    <message>
        <source>не удались загрузки: %1</source>
        <translation>fetches failed: %1</translation>
    </message>
    <message>
        <source>нечего склеивать: %1 x %2 фрагментов</source>
        <translation>nothing to stitch: %1 x %2 tiles</translation>
    </message>
    <message>
        <source>записаны %1 и %2</source>
        <translation>wrote %1 and %2</translation>
    </message>
    <message>
        <source>записан %1</source>
        <translation>wrote %1</translation>
    </message>
    <message>
        <source>; %1 из %2 фрагментов получить не удалось, на их месте заглушка</source>
        <translation>; %1 of %2 tiles could not be obtained and show a placeholder</translation>
    </message>
    <message>
        <source>записан %1, уровень %2</source>
        <translation>wrote %1, level %2</translation>
    </message>
    <message>
        <source>записан %1, уровни с %2 по %3</source>
        <translation>wrote %1, levels %2 to %3</translation>
    </message>
    <message>
        <source>; %1 фрагментов получить не удалось, они пропущены</source>
        <translation>; %1 tiles could not be obtained and are left out</translation>
    </message>
    <message>
        <source>кэш %1 содержит уровни с %2 по %3 области</source>
        <translation>the cache %1 holds levels %2 to %3 of the region</translation>
    </message>
    <message>
        <source> без %1 фрагментов, которые получить не удалось</source>
        <translation> but %1 tiles that could not be obtained</translation>
    </message>
    <message>
        <source>кэш %1 содержит уровень %2 области</source>
        <translation>the cache %1 holds level %2 of the region</translation>
    </message>
    <message>
        <source>%1 из %2 фрагментов уровня %3 получить не удалось; кэш %4 содержит остальную часть области</source>
        <translation>%1 of %2 tiles of level %3 could not be obtained; the cache %4 holds the rest of the region</translation>
    </message>
    <message>
        <source>отказано: %1</source>
        <translation>refused: %1</translation>
    </message>
</context>
<context>
    <name>BulkDownload</name>
    <message>
        <source>Источник «%1» не разрешает массовое скачивание: склейка и выкачивание в кэш с него невозможны.</source>
        <translation>The source “%1” does not allow bulk downloading: stitching and prefilling the cache from it are not possible.</translation>
    </message>
    <message>
        <source>Уровня %1 у источника «%2» нет: он даёт уровни с %3 по %4.</source>
        <translation>The source “%2” has no level %1: it serves levels %3 to %4.</translation>
    </message>
</context>
<context>
    <name>Calibration</name>
    <message>
        <source>Путь %1 нельзя записать в файл привязки: в нём есть символы вне кодировки windows-1251. Выберите имя и папку из русских или латинских букв.</source>
        <translation>The path %1 cannot be written into the map file: it holds characters outside the windows-1251 encoding. Choose a name and folder of Russian or Latin letters.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>байт в секунду, как 200000, 500k или 2M</source>
        <translation>bytes per second, as in 200000, 500k or 2M</translation>
    </message>
    <message>
        <source>запросов в секунду, больше 0 и не больше %1</source>
        <translation>requests per second, more than 0 and at most %1</translation>
    </message>
    <message>
        <source>целое число от %1 до %2</source>
        <translation>a whole number from %1 to %2</translation>
    </message>
    <message>
        <source>целое число не меньше 1</source>
        <translation>a whole number of at least 1</translation>
    </message>
    <message>
        <source>ШИР,ДОЛ в десятичных градусах, от -90 до 90 и от -180 до 180</source>
        <translation>LAT,LON in decimal degrees, -90 to 90 and -180 to 180</translation>
    </message>
    <message>
        <source>Ч:ММ, не больше %1 ч</source>
        <translation>H:MM, at most %1 hours</translation>
    </message>
    <message>
        <source>метры от 0 до %1</source>
        <translation>metres from 0 to %1</translation>
    </message>
    <message>
        <source>З,Ю,В,С в десятичных градусах, юг ниже севера</source>
        <translation>W,S,E,N in decimal degrees, south below north</translation>
    </message>
    <message>
        <source>A-B, уровни от 1 до %1, A не больше B</source>
        <translation>A-B, levels from 1 to %1, A not above B</translation>
    </message>
    <message>
        <source>receive=N,bad=N,write=N: receive от %1 до %2, bad от %3 до %4, write от %5 до %6</source>
        <translation>receive=N,bad=N,write=N: receive %1 to %2, bad %3 to %4, write %5 to %6</translation>
    </message>
    <message>
        <source>ФАЙЛ.mbtiles, .gpkg, .sqlitedb, .orux, .pmtiles или .kmz</source>
        <translation>FILE.mbtiles, .gpkg, .sqlitedb, .orux, .pmtiles or .kmz</translation>
    </message>
    <message>
        <source>непустое значение</source>
        <translation>not empty</translation>
    </message>
    <message>
        <source>--bbox и --area нельзя указать вместе</source>
        <translation>--bbox and --area cannot be given together</translation>
    </message>
    <message>
        <source>--buffer указывается с --area</source>
        <translation>--buffer goes with --area</translation>
    </message>
    <message>
        <source>%1 указывается с --bbox или --area</source>
        <translation>%1 goes with --bbox or --area</translation>
    </message>
    <message>
        <source>--at ставит вид, а область --bbox или --area вид не использует</source>
        <translation>--at places the view, which a --bbox or --area region does not use</translation>
    </message>
    <message>
        <source>--levels и --depth нельзя указать вместе</source>
        <translation>--levels and --depth cannot be given together</translation>
    </message>
    <message>
        <source>--columns и --rows не указываются с --bbox или --area: размер картинки задаёт область</source>
        <translation>--columns and --rows do not go with --bbox or --area: the region decides the picture&apos;s size</translation>
    </message>
    <message>
        <source>с --bbox или --area нужен --level L</source>
        <translation>--level L is needed with --bbox or --area</translation>
    </message>
    <message>
        <source>неизвестная команда; см. orbivist --help</source>
        <translation>unknown command; see orbivist --help</translation>
    </message>
    <message>
        <source>%1 указан дважды</source>
        <translation>%1 is given twice</translation>
    </message>
    <message>
        <source>пароль дозвона берётся из ORBIVIST_DIAL_PASSWORD, а не из командной строки</source>
        <translation>the dial-up password is read from ORBIVIST_DIAL_PASSWORD, never from the command line</translation>
    </message>
    <message>
        <source>лишний аргумент %1: %2 принимает только параметры; см. orbivist %2 --help</source>
        <translation>unexpected argument %1: %2 takes only options; see orbivist %2 --help</translation>
    </message>
    <message>
        <source>неизвестный параметр %1; см. orbivist %2 --help</source>
        <translation>unknown option %1; see orbivist %2 --help</translation>
    </message>
    <message>
        <source>%1 требует значения</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>неверное значение %1: %2 (%3)</source>
        <translation>bad value for %1: %2 (%3)</translation>
    </message>
    <message>
        <source>нужен --home DIR</source>
        <translation>--home DIR is required</translation>
    </message>
    <message>
        <source>--at и --level указываются вместе</source>
        <translation>--at and --level go together</translation>
    </message>
    <message>
        <source>--user нужен для дозвона: укажите и --dial</source>
        <translation>--user is for dialling: it needs --dial</translation>
    </message>
    <message>
        <source>нужен --output ФАЙЛ.mbtiles, .gpkg, .sqlitedb, .orux, .pmtiles или .kmz</source>
        <translation>--output FILE.mbtiles, .gpkg, .sqlitedb, .orux, .pmtiles or .kmz is required</translation>
    </message>
    <message>
        <source>нужен --output ФАЙЛ.jpg</source>
        <translation>--output FILE.jpg is required</translation>
    </message>
    <message>
        <source>неизвестная команда &quot;%1&quot;; команды: stitch, prefill и export (см. orbivist --help)</source>
        <translation>unknown command &quot;%1&quot;; the commands are stitch, prefill and export (see orbivist --help)</translation>
    </message>
    <message>
        <source>неизвестный параметр %1 (см. orbivist --help)</source>
        <translation>unknown option %1 (see orbivist --help)</translation>
    </message>
    <message>
        <source>дни, целое число от 0 до %1</source>
        <translation>days, a whole number from 0 to %1</translation>
    </message>
</context>
<context>
    <name>Coordinates</name>
    <message>
        <source>%1%2г %3мин</source>
        <translation>%1%2° %3&apos;</translation>
    </message>
</context>
<context>
    <name>Countdown</name>
    <message>
        <source>До начала закачки осталось: %1ч %2мин</source>
        <translation>Download starts in: %1 h %2 min</translation>
    </message>
</context>
<context>
    <name>DialUp</name>
    <message>
        <source>Подключение...</source>
        <translation>Connecting...</translation>
    </message>
    <message>
        <source>Отключение...</source>
        <translation>Disconnecting...</translation>
    </message>
    <message>
        <source>Не удалось разорвать соединение: оно осталось активным</source>
        <translation>Could not hang up: the connection is still active</translation>
    </message>
</context>
<context>
    <name>ErrorCounts</name>
    <message>
        <source>%1 ошибок получения</source>
        <translation>%1 receive errors</translation>
    </message>
    <message>
        <source>%1 ошибок jpeg</source>
        <translation>%1 jpeg errors</translation>
    </message>
    <message>
        <source>%1 ошибок записи</source>
        <translation>%1 write errors</translation>
    </message>
    <message>
        <source>ошибки</source>
        <translation>errors</translation>
    </message>
    <message>
        <source>Закачка остановлена - превышен предел ошибок. Выявлено ошибок: записи -  %1; получения - %2; ошибочных файлов - %3; </source>
        <translation>Download stopped - error limit exceeded. Errors found: write - %1; receive - %2; bad files - %3; </translation>
    </message>
</context>
<context>
    <name>FailureTally</name>
    <message>
        <source>сервер ответил %1 %2 (%3)</source>
        <translation>the server replied %1 %2 (%3)</translation>
    </message>
    <message>
        <source>соединение отклонено %1</source>
        <translation>connection refused %1</translation>
    </message>
    <message>
        <source>сертификат не доверенный: %1</source>
        <translation>certificate not trusted: %1</translation>
    </message>
    <message>
        <source>нет ответа вовремя от %1</source>
        <translation>no answer in time from %1</translation>
    </message>
    <message>
        <source>не найден узел %1</source>
        <translation>cannot find the host %1</translation>
    </message>
    <message>
        <source>%1 (%2 из %3 неудачных загрузок)</source>
        <translation>%1 (%2 of %3 failed fetches)</translation>
    </message>
</context>
<context>
    <name>FetchedStatus</name>
    <message>
        <source>Закачано %1 фрагментов из %2</source>
        <translation>Fetched %1 tiles of %2</translation>
    </message>
</context>
<context>
    <name>JobSteps</name>
    <message>
        <source>начало...</source>
        <translation>starting...</translation>
    </message>
</context>
<context>
    <name>Kmz</name>
    <message>
        <source>Экспорт в KMZ невозможен: область займёт %1 снимков по 1024×1024 точки, а карта Garmin вмещает не более %2. Уменьшите глубину.</source>
        <translation>KMZ export is impossible: the region takes %1 pictures of 1024×1024 pixels, and a Garmin map holds at most %2. Reduce the depth.</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>--lang принимает en или ru, а не &quot;%1&quot;</source>
        <translation>--lang takes en or ru, not &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>MapShapes</name>
    <message>
        <source>Файл %1 не читается: %2</source>
        <translation>File %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>В файле %1 нет ни линий, ни областей, ни точек</source>
        <translation>File %1 has no lines, areas or points</translation>
    </message>
</context>
<context>
    <name>OutputCheck</name>
    <message>
        <source>%1 уже есть и это не обычный файл</source>
        <translation>%1 exists and is not a regular file</translation>
    </message>
    <message>
        <source>нельзя записать %1: </source>
        <translation>cannot write %1: </translation>
    </message>
    <message>
        <source>папки %1 нет</source>
        <translation>the folder %1 does not exist</translation>
    </message>
    <message>
        <source>%1 не папка</source>
        <translation>%1 is not a folder</translation>
    </message>
    <message>
        <source>нет права записи в %1</source>
        <translation>no permission to write into %1</translation>
    </message>
    <message>
        <source>имя длиннее %1 байт, допустимых в %2</source>
        <translation>the name is longer than the %1 bytes %2 takes</translation>
    </message>
</context>
<context>
    <name>PppdExit</name>
    <message>
        <source>Соединение установлено</source>
        <translation>Connection established</translation>
    </message>
    <message>
        <source>Неустранимая ошибка pppd: сбой системного вызова или нехватка памяти</source>
        <translation>Fatal pppd error: a system call failed or memory ran out</translation>
    </message>
    <message>
        <source>Ошибка в параметрах подключения</source>
        <translation>Error in the connection options</translation>
    </message>
    <message>
        <source>pppd не может работать: он не установлен с правами root, а пользователь не root</source>
        <translation>pppd cannot run: it is not installed setuid root and the user is not root</translation>
    </message>
    <message>
        <source>Ядро не поддерживает PPP</source>
        <translation>The kernel does not support PPP</translation>
    </message>
    <message>
        <source>pppd остановлен сигналом SIGINT, SIGTERM или SIGHUP</source>
        <translation>pppd was stopped by SIGINT, SIGTERM or SIGHUP</translation>
    </message>
    <message>
        <source>Не удалось заблокировать последовательный порт</source>
        <translation>Could not lock the serial port</translation>
    </message>
    <message>
        <source>Не удалось открыть последовательный порт</source>
        <translation>Could not open the serial port</translation>
    </message>
    <message>
        <source>Ошибка сценария установки связи (connect)</source>
        <translation>The connect script failed</translation>
    </message>
    <message>
        <source>Не удалось запустить команду, заданную параметром pty</source>
        <translation>Could not run the command given by the pty option</translation>
    </message>
    <message>
        <source>Согласование PPP не удалось: ни один сетевой протокол не заработал</source>
        <translation>PPP negotiation failed: no network protocol came up</translation>
    </message>
    <message>
        <source>Удалённая система не прошла проверку подлинности или отказалась от неё</source>
        <translation>The peer failed to authenticate itself or refused to</translation>
    </message>
    <message>
        <source>Соединение было установлено и разорвано из-за простоя</source>
        <translation>The connection was established and hung up for being idle</translation>
    </message>
    <message>
        <source>Соединение было установлено и разорвано по истечении предельного времени</source>
        <translation>The connection was established and hung up when its time limit ran out</translation>
    </message>
    <message>
        <source>Согласован обратный вызов: скоро должен поступить входящий звонок</source>
        <translation>Callback negotiated: an incoming call should arrive soon</translation>
    </message>
    <message>
        <source>Соединение разорвано: удалённая система не отвечает на эхо-запросы</source>
        <translation>Connection hung up: the peer does not answer echo requests</translation>
    </message>
    <message>
        <source>Соединение разорвано: модем положил трубку</source>
        <translation>Connection hung up: the modem hung up</translation>
    </message>
    <message>
        <source>Согласование PPP не удалось: на линии обнаружена петля</source>
        <translation>PPP negotiation failed: the line is looped back</translation>
    </message>
    <message>
        <source>Ошибка сценария инициализации (init)</source>
        <translation>The init script failed</translation>
    </message>
    <message>
        <source>Не удалось пройти проверку подлинности на удалённой системе</source>
        <translation>Could not authenticate to the peer</translation>
    </message>
    <message>
        <source>Такого подключения нет в списке подключений</source>
        <translation>There is no such connection in the connection list</translation>
    </message>
    <message>
        <source>Не удалось запустить pppd</source>
        <translation>Could not start pppd</translation>
    </message>
    <message>
        <source>pppd завершился аварийно</source>
        <translation>pppd crashed</translation>
    </message>
    <message>
        <source>Не удалось передать пароль pppd: временный файл не записан</source>
        <translation>Could not pass the password to pppd: the temporary file was not written</translation>
    </message>
    <message>
        <source>Подключение отменено</source>
        <translation>Connecting cancelled</translation>
    </message>
    <message>
        <source>Неизвестная ошибка подключения (код %1)</source>
        <translation>Unknown connection error (code %1)</translation>
    </message>
</context>
<context>
    <name>PrefillEstimate</name>
    <message>
        <source>Ориентировочный объем -----</source>
        <translation>Estimated size -----</translation>
    </message>
    <message>
        <source>Ориентировочный объем %1 Кбайт</source>
        <translation>Estimated size %1 KB</translation>
    </message>
    <message>
        <source>Чтобы начать, задайте глубину больше текущего уровня (%1).</source>
        <translation>To start, set a depth deeper than the view&apos;s level (%1).</translation>
    </message>
</context>
<context>
    <name>PrefillJob</name>
    <message>
        <source>Закачка невозможна: глубина %1 должна быть больше текущего уровня %2.</source>
        <translation>Cannot download: depth %1 must be greater than the current level %2.</translation>
    </message>
    <message>
        <source>Закачка невозможна: глубина %1 больше предельной (%2).</source>
        <translation>Cannot download: depth %1 is beyond the limit (%2).</translation>
    </message>
    <message>
        <source>Закачка невозможна: глубина %1 ниже текущего уровня %2 более чем на %3 уровней (%4 фрагментов).</source>
        <translation>Cannot download: depth %1 is more than %3 levels below the current level %2 (%4 tiles).</translation>
    </message>
</context>
<context>
    <name>ProgressLine</name>
    <message>
        <source>Закачано %1 из %2</source>
        <translation>Fetched %1 of %2</translation>
    </message>
    <message>
        <source>, %1 фрагм./с, осталось %2</source>
        <translation>, %1 tiles/s, %2 left</translation>
    </message>
    <message>
        <source>; ошибок: получения %1, jpeg %2, записи %3</source>
        <translation>; errors: receive %1, jpeg %2, write %3</translation>
    </message>
    <message>
        <source>,</source>
        <translation>.</translation>
    </message>
</context>
<context>
    <name>RegionChoice</name>
    <message>
        <source>Уровни %1–%2 вне уровней 1–%3, которые берут задания.</source>
        <translation>Levels %1–%2 are outside the levels 1–%3 the jobs fetch.</translation>
    </message>
    <message>
        <source>В области нет фрагментов уровней %1–%2 (фрагменты доходят до 85,0511° широты).</source>
        <translation>The region has no tiles at levels %1–%2 (tiles reach 85.0511° of latitude).</translation>
    </message>
    <message>
        <source>Фрагментов %1, уровни %2–%3</source>
        <translation>%1 tiles, levels %2–%3</translation>
    </message>
    <message>
        <source>; объём будет оценён при запуске</source>
        <translation>; the size is estimated at the start</translation>
    </message>
    <message>
        <source>, около %1 МБ</source>
        <translation>, about %1 MB</translation>
    </message>
</context>
<context>
    <name>RegionEstimate</name>
    <message>
        <source>около %1 МБ</source>
        <translation>about %1 MB</translation>
    </message>
    <message>
        <source>объём неизвестен</source>
        <translation>size unknown</translation>
    </message>
    <message>
        <source>Оценка объёма...</source>
        <translation>Estimating the size...</translation>
    </message>
    <message>
        <source>Закачка невозможна: по оценке нужно %1 МБ, а на диске кэша свободно %2 МБ.</source>
        <translation>Cannot download: the estimate is %1 MB, but the cache&apos;s disk has %2 MB free.</translation>
    </message>
    <message>
        <source>уровень %1: фрагментов %2, в кэше %3, скачать %4, %5</source>
        <translation>level %1: %2 tiles, %3 cached, %4 to fetch, %5</translation>
    </message>
    <message>
        <source>всего: фрагментов %1, в кэше %2, скачать %3, %4</source>
        <translation>total: %1 tiles, %2 cached, %3 to fetch, %4</translation>
    </message>
    <message>
        <source>свободное место на диске кэша неизвестно</source>
        <translation>free space on the cache&apos;s disk unknown</translation>
    </message>
    <message>
        <source>свободно на диске кэша %1 МБ</source>
        <translation>%1 MB free on the cache&apos;s disk</translation>
    </message>
    <message>
        <source>около %1 КБ</source>
        <translation>about %1 KB</translation>
    </message>
</context>
<context>
    <name>ScaleBarOverlay</name>
    <message>
        <source>%1 км</source>
        <translation>%1 km</translation>
    </message>
    <message>
        <source>%1 м</source>
        <translation>%1 m</translation>
    </message>
</context>
<context>
    <name>SourceServices</name>
    <message>
        <source>неизвестный источник &quot;%1&quot;; источники: %2</source>
        <translation>unknown source &quot;%1&quot;; the sources are: %2</translation>
    </message>
</context>
<context>
    <name>StitchEstimate</name>
    <message>
        <source>Память: %1 мб</source>
        <translation>Memory: %1 MB</translation>
    </message>
    <message>
        <source>скачать~ %1 мб</source>
        <translation>download~ %1 MB</translation>
    </message>
</context>
<context>
    <name>StitchJob</name>
    <message>
        <source>Запись файла %1 невозможна</source>
        <translation>Cannot write the file %1</translation>
    </message>
    <message>
        <source>Выполнить невозможно - слишком большое изображение?</source>
        <translation>Cannot be done - picture too large?</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>только кэш</source>
        <translation>cache only</translation>
    </message>
    <message>
        <source>интернет</source>
        <translation>internet</translation>
    </message>
    <message>
        <source>кэш и интернет</source>
        <translation>cache and internet</translation>
    </message>
    <message>
        <source>---Новое Имя---</source>
        <translation>---New Name---</translation>
    </message>
    <message>
        <source> Кб из интернета</source>
        <translation> KB from the internet</translation>
    </message>
    <message>
        <source>Сохранение невозможно</source>
        <translation>Cannot save</translation>
    </message>
    <message>
        <source>коорд1</source>
        <translation>coord1</translation>
    </message>
    <message>
        <source>коорд2</source>
        <translation>coord2</translation>
    </message>
    <message>
        <source>увеличение</source>
        <translation>zoom</translation>
    </message>
    <message>
        <source>закачано</source>
        <translation>fetched</translation>
    </message>
    <message>
        <source>интернет и кэш</source>
        <translation>internet and cache</translation>
    </message>
    <message>
        <source>Просмотр</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Левая кнопка: крупнее, правая: мельче</source>
        <translation>Left button: zoom in, right: zoom out</translation>
    </message>
    <message>
        <source>кэш</source>
        <translation>cache</translation>
    </message>
    <message>
        <source>Получить недостающие</source>
        <translation>Fetch missing</translation>
    </message>
    <message>
        <source>линейка масштаба</source>
        <translation>scale bar</translation>
    </message>
    <message>
        <source>сетка координат</source>
        <translation>coordinate grid</translation>
    </message>
    <message>
        <source>Поиск</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>широта</source>
        <translation>latitude</translation>
    </message>
    <message>
        <source>долгота</source>
        <translation>longitude</translation>
    </message>
    <message>
        <source>Увеличение</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Показать</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>показывать точку</source>
        <translation>show the point</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Склейка</source>
        <translation>Stitch</translation>
    </message>
    <message>
        <source>слева направо</source>
        <translation>left to right</translation>
    </message>
    <message>
        <source>сверху вниз</source>
        <translation>top to bottom</translation>
    </message>
    <message>
        <source>Выкачивание производится при текущем увеличении квадратами 256х256 пикселей, с последующей автоматической склейкой в единый .jpg файл. Количество квадратов задается от верхнего левого угла. Автоматически создается файл привязки для OziExplorer.</source>
        <translation>Tiles of 256x256 pixels are downloaded at the current zoom and then stitched automatically into one .jpg file. The number of tiles is counted from the top left corner. A map file for OziExplorer is created automatically.</translation>
    </message>
    <message>
        <source>Сжатие jpeg:</source>
        <translation>JPEG quality:</translation>
    </message>
    <message>
        <source>Начать</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Выкачивание в кэш</source>
        <translation>Prefill cache</translation>
    </message>
    <message>
        <source>Глубина (увеличение)</source>
        <translation>Depth (zoom)</translation>
    </message>
    <message>
        <source>Ориентировочный объем:</source>
        <translation>Estimated size:</translation>
    </message>
    <message>
        <source>В кэш выкачиваются все фрагменты видимой области
только заданного увеличения, без промежуточных.</source>
        <translation>Every tile of the visible area is downloaded into the cache
at the given zoom only, without the levels between.</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Режим работы</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>только интернет</source>
        <translation>internet only</translation>
    </message>
    <message>
        <source>то и другое</source>
        <translation>both</translation>
    </message>
    <message>
        <source>Обновить</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Использoвать proxy</source>
        <translation>Use proxy</translation>
    </message>
    <message>
        <source> (Не обязательно)  Proxy User</source>
        <translation> (Optional)  Proxy User</translation>
    </message>
    <message>
        <source>Дополнительные возможности</source>
        <translation>More options</translation>
    </message>
    <message>
        <source>показывать настройки таймера/соединения перед закачкой </source>
        <translation>show the timer/connection settings before downloading </translation>
    </message>
    <message>
        <source>Источник</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Запрос</source>
        <translation>Request</translation>
    </message>
    <message>
        <source>Принять</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Восстановить</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Расположение кэша</source>
        <translation>Cache location</translation>
    </message>
    <message>
        <source>Указать</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>Контроль ошибок при выкачивании / склейке</source>
        <translation>Error control while downloading / stitching</translation>
    </message>
    <message>
        <source>Попыток закачать фрагмент при ошибке</source>
        <translation>Attempts to fetch a tile after an error</translation>
    </message>
    <message>
        <source>с интервалом (сек.)</source>
        <translation>at intervals of (s)</translation>
    </message>
    <message>
        <source>Допускать ошибок записи  фрагментов на диск</source>
        <translation>Allowed errors writing tiles to disk</translation>
    </message>
    <message>
        <source>Допускать ошибок при получении фрагментов с сервера</source>
        <translation>Allowed errors receiving tiles from the server</translation>
    </message>
    <message>
        <source>Допускать ошибок в полуенных файлах</source>
        <translation>Allowed errors in received files</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Orbivist — просмотр спутниковых снимков с сервера фрагментов и их выкачивание.
Каждый полученный фрагмент остаётся в кэше на диске, поэтому однажды просмотренную местность можно смотреть и без сети.
Склейка собирает прямоугольник фрагментов в один JPEG с файлом привязки OziExplorer; выкачивание заполняет кэш для области на глубину.</source>
        <translation>Orbivist — viewing satellite imagery from a tile server, and downloading it.
Every tile received stays in the cache on disk, so a place seen once can be seen again without the network.
Stitch joins a rectangle of tiles into one JPEG with an OziExplorer map file; Prefill fills the cache for a region down to a depth.</translation>
    </message>
    <message>
        <source>ошибки</source>
        <translation>errors</translation>
    </message>
    <message>
        <source>Запись файла %1 невозможна</source>
        <translation>Cannot write the file %1</translation>
    </message>
    <message>
        <source>Файл Favorites.dat не удалось прочитать; до выхода из программы он не будет перезаписан</source>
        <translation>Favorites.dat could not be read; it will not be overwritten until the program exits</translation>
    </message>
    <message>
        <source>---Новое имя---</source>
        <translation>---New name---</translation>
    </message>
    <message>
        <source>Экспорт…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>Снимки</source>
        <translation>Imagery</translation>
    </message>
    <message>
        <source>Демо-сервер</source>
        <translation>Demo server</translation>
    </message>
    <message>
        <source>нет уровня %1 (есть %2–%3)</source>
        <translation>no level %1 (has %2–%3)</translation>
    </message>
    <message>
        <source>видимая область</source>
        <translation>visible region</translation>
    </message>
    <message>
        <source>область из файла</source>
        <translation>region of a file</translation>
    </message>
    <message>
        <source>рамка в градусах</source>
        <translation>box in degrees</translation>
    </message>
    <message>
        <source>буфер, м</source>
        <translation>buffer, m</translation>
    </message>
    <message>
        <source>уровни</source>
        <translation>levels</translation>
    </message>
    <message>
        <source>файл GPX, KML, KMZ, GeoJSON, SHP, GPKG</source>
        <translation>a GPX, KML, KMZ, GeoJSON, SHP or GPKG file</translation>
    </message>
    <message>
        <source>запад,юг,восток,север</source>
        <translation>west,south,east,north</translation>
    </message>
    <message>
        <source>Область</source>
        <translation>Region</translation>
    </message>
    <message>
        <source>Области (*.gpx *.kml *.kmz *.geojson *.json *.shp *.gpkg);;Все файлы (*)</source>
        <translation>Regions (*.gpx *.kml *.kmz *.geojson *.json *.shp *.gpkg);;All files (*)</translation>
    </message>
    <message>
        <source>Выберите файл области кнопкой «…».</source>
        <translation>Choose the region&apos;s file with the “…” button.</translation>
    </message>
    <message>
        <source>Рамка: запад, юг, восток и север в градусах через запятую, юг меньше севера.</source>
        <translation>Box: west, south, east and north in degrees, separated by commas, south below north.</translation>
    </message>
    <message>
        <source>Уровни: «A-B», A не больше B.</source>
        <translation>Levels: “A-B”, A not above B.</translation>
    </message>
    <message>
        <source>ReadMe.txt</source>
        <translation>ReadMe.en.txt</translation>
    </message>
    <message>
        <source>, проверено %1, заменено %2, устарело %3</source>
        <translation>, %1 confirmed, %2 replaced, %3 stale</translation>
    </message>
    <message>
        <source>Спрашивать сервер снова о тайлах старше N дней. При 0 вид не спрашивает, а задания спрашивают только о тайлах, срок которых по ответу сервера истёк</source>
        <translation>Ask the server again about tiles older than N days. At 0 the view does not ask, and jobs ask only about tiles past the expiry the server gave</translation>
    </message>
    <message>
        <source>Обновлять старше, дней</source>
        <translation>Refresh if older, days</translation>
    </message>
    <message>
        <source>нет</source>
        <translation>off</translation>
    </message>
    <message>
        <source>Слои</source>
        <translation>Layers</translation>
    </message>
    <message>
        <source>область выкачивания</source>
        <translation>prefill region</translation>
    </message>
    <message>
        <source>Область, выбранная на вкладке выкачивания</source>
        <translation>The region chosen on the prefill tab</translation>
    </message>
    <message>
        <source>кэш на уровне</source>
        <translation>cache at level</translation>
    </message>
    <message>
        <source>Каждый квадрат окрашен по доле его квадратов выбранного уровня, уже лежащих в кэше: красный — ни одного, жёлтый — часть, зелёный — все</source>
        <translation>Each tile is tinted by the share of its tiles at the chosen level already in the cache: red none, yellow part, green all</translation>
    </message>
    <message>
        <source>трек</source>
        <translation>track</translation>
    </message>
    <message>
        <source>трек…</source>
        <translation>track…</translation>
    </message>
    <message>
        <source>Трек или область из файла GPX, KML, KMZ, GeoJSON</source>
        <translation>A track or area from a GPX, KML, KMZ or GeoJSON file</translation>
    </message>
    <message>
        <source>Трек</source>
        <translation>Track</translation>
    </message>
    <message>
        <source>Треки и области (*.gpx *.kml *.kmz *.geojson *.json *.shp *.gpkg);;Все файлы (*)</source>
        <translation>Tracks and areas (*.gpx *.kml *.kmz *.geojson *.json *.shp *.gpkg);;All files (*)</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>Таймер</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>Закачку начать через:</source>
        <translation>Start downloading in:</translation>
    </message>
    <message>
        <source>часов</source>
        <translation>hours</translation>
    </message>
    <message>
        <source>минут</source>
        <translation>minutes</translation>
    </message>
    <message>
        <source>Подключаться автоматически</source>
        <translation>Connect automatically</translation>
    </message>
    <message>
        <source>Подключение:</source>
        <translation>Connection:</translation>
    </message>
    <message>
        <source>Имя пользователя:</source>
        <translation>User name:</translation>
    </message>
    <message>
        <source>Пароль:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>разорвать все оединения после окончания</source>
        <translation>hang up all connections when done</translation>
    </message>
    <message>
        <source>Проверка</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Подключится</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Отключиться</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>нет подключений</source>
        <translation>no connections</translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>Процесс</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>UsageText</name>
    <message>
        <source>спросить у сервера снова о фрагментах кэша старше стольких дней (0: обо всех): неизменённые остаются, изменённые заменяются, при недоступном сервере остаются прежние</source>
        <translation>ask the server again about cached tiles older than so many days (0: all of them): unchanged ones stay, changed ones are replaced, and without the server the old ones stay</translation>
    </message>
    <message>
        <source>не больше стольких байт в секунду от источника (500k, 2M); только ниже его bandwidth</source>
        <translation>at most so many bytes per second from the source (500k, 2M); only below its bandwidth</translation>
    </message>
    <message>
        <source>не больше N запросов в секунду к источнику; только ниже его rate (по умолчанию из файла источников)</source>
        <translation>at most N requests per second to the source; only below its rate (default: the sources file&apos;s)</translation>
    </message>
    <message>
        <source>от %1 до %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>папка программы с ORB.ini, Favorites.dat и кэшем Cash/ (по умолчанию: папка исполняемого файла; у установленной программы: $XDG_DATA_HOME/orbivist, ~/.local/share/orbivist)</source>
        <translation>program directory holding ORB.ini, Favorites.dat and the cache Cash/ (default: the executable&apos;s directory; installed: $XDG_DATA_HOME/orbivist, ~/.local/share/orbivist)</translation>
    </message>
    <message>
        <source>источник снимков из Sources.ini или DIR/MySources.ini по имени (по умолчанию: выбранный в окне, иначе demo)</source>
        <translation>imagery source of Sources.ini or DIR/MySources.ini by name (default: the one chosen in the viewer, else demo)</translation>
    </message>
    <message>
        <source>язык окна и всех сообщений (по умолчанию: английский при английской локали, иначе русский)</source>
        <translation>language of the window and of every message (default: English for an English locale, else Russian)</translation>
    </message>
    <message>
        <source>ФАЙЛ.jpg: прогрессивный JPEG с .map, .jgw, .prj и .aux.xml рядом (имя без расширения получает .jpg); ФАЙЛ.tif: Cloud-Optimized GeoTIFF (EPSG:3857) любого размера, какой вместит диск</source>
        <translation>FILE.jpg: a progressive JPEG with .map, .jgw, .prj and .aux.xml beside it (a name without an extension gets .jpg); FILE.tif: a Cloud-Optimized GeoTIFF (EPSG:3857) of any size the disk holds</translation>
    </message>
    <message>
        <source>формат по расширению имени: .mbtiles, .gpkg (GeoPackage), .sqlitedb (OsmAnd, Locus), .orux (папка карты OruxMaps), .pmtiles или .kmz, наложения самого глубокого уровня (не больше 100 снимков по 4 x 4 фрагмента, предел пользовательских карт Garmin)</source>
        <translation>the format its name gives: .mbtiles, .gpkg (GeoPackage), .sqlitedb (OsmAnd, Locus), .orux (an OruxMaps map folder), .pmtiles, or .kmz, ground overlays of the deepest level (at most 100 pictures of 4 x 4 tiles, the limit of Garmin&apos;s custom maps)</translation>
    </message>
    <message>
        <source>фрагментов к востоку от левого верхнего фрагмента вида, 1 или больше</source>
        <translation>tiles east of the view&apos;s top-left tile, 1 or more</translation>
    </message>
    <message>
        <source>фрагментов к югу от него, 1 или больше</source>
        <translation>tiles south of it, 1 or more</translation>
    </message>
    <message>
        <source>качество JPEG, %1</source>
        <translation>JPEG quality, %1</translation>
    </message>
    <message>
        <source>самый глубокий уровень, от уровня вида до %1</source>
        <translation>deepest level, from the view&apos;s level to %1</translation>
    </message>
    <message>
        <source>сначала поставить вид на точку, как это делает поиск: десятичные градусы, широта от -90 до 90, долгота от -180 до 180, север и восток положительны</source>
        <translation>centre the view on a point first, as the search does: decimal degrees, latitude -90 to 90, longitude -180 to 180, north and east positive</translation>
    </message>
    <message>
        <source>с --at уровень вида, %1; с --bbox или --area склеиваемый уровень</source>
        <translation>with --at, the view&apos;s level, %1; with --bbox or --area, the level stitched</translation>
    </message>
    <message>
        <source>своя область вместо области вида, в десятичных градусах (запад больше востока пересекает 180-й меридиан)</source>
        <translation>a region of its own instead of the view&apos;s, in decimal degrees (west above east crosses the 180th meridian)</translation>
    </message>
    <message>
        <source>область из файла GPX, KML, KMZ, GeoJSON, Shapefile или GeoPackage</source>
        <translation>the region of a GPX, KML, KMZ, GeoJSON, Shapefile or GeoPackage file</translation>
    </message>
    <message>
        <source>с --area полосы по обе стороны его линий и вокруг его точек, от 0 до %1 (по умолчанию 500)</source>
        <translation>with --area, corridors either side of its lines and around its points, 0 to %1 (default 500)</translation>
    </message>
    <message>
        <source>с областью все уровни с A по B, %1</source>
        <translation>with a region, every level from A to B, %1</translation>
    </message>
    <message>
        <source>с областью вывести по уровням число фрагментов, сколько из них скачать, их примерный размер и свободное место, и ничего не скачивать</source>
        <translation>with a region, print per level the tiles, those to fetch, their estimated size and the free space, and fetch nothing</translation>
    </message>
    <message>
        <source>попыток на фрагмент, %1 (по умолчанию из ORB.ini)</source>
        <translation>attempts per tile, %1 (default: ORB.ini&apos;s)</translation>
    </message>
    <message>
        <source>секунд между попытками, %1</source>
        <translation>seconds between attempts, %1</translation>
    </message>
    <message>
        <source>остановиться при стольких ошибках получения (%1), ошибочных файлах (%2) или ошибках записи (%3); любое из трёх</source>
        <translation>stop at so many receive errors (%1), bad files (%2) or write errors (%3); any of the three</translation>
    </message>
    <message>
        <source>сначала подождать столько, часы %1, минуты %2</source>
        <translation>wait this long first, hours %1, minutes %2</translation>
    </message>
    <message>
        <source>сначала дозвониться через пир pppd; пароль берётся из ORBIVIST_DIAL_PASSWORD</source>
        <translation>dial a pppd peer first; the password comes from ORBIVIST_DIAL_PASSWORD</translation>
    </message>
    <message>
        <source>с --dial имя пользователя (по умолчанию из файла пира)</source>
        <translation>with --dial, the user name (default: the peer file&apos;s)</translation>
    </message>
    <message>
        <source>после работы разорвать все соединения дозвона (без этого параметра ничего не разрывается)</source>
        <translation>end every dial-up connection afterwards (nothing is hung up without it)</translation>
    </message>
    <message>
        <source>показать этот текст</source>
        <translation>show this text</translation>
    </message>
    <message>
        <source>вывести версию</source>
        <translation>print the version</translation>
    </message>
    <message>
        <source>Вызов:</source>
        <translation>Usage:</translation>
    </message>
    <message>
        <source>скачать W x H фрагментов к востоку и югу от левого верхнего фрагмента вида или фрагменты, покрывающие --bbox или --area на уровне --level, одной картинкой</source>
        <translation>fetch W x H tiles east and south of the view&apos;s top-left tile, or the tiles covering --bbox or --area at --level, as one picture</translation>
    </message>
    <message>
        <source>скачать в кэш все фрагменты области вида на уровне D</source>
        <translation>fetch every tile of the view&apos;s region at level D into the cache</translation>
    </message>
    <message>
        <source>записать все фрагменты этой области с уровня вида по D, из кэша или скачанные, в ФАЙЛ формата, который задаёт его имя</source>
        <translation>write every tile of that region from the view&apos;s level to D, from the cache or fetched, into FILE of the format its name gives</translation>
    </message>
    <message>
        <source>Просмотр спутниковых снимков с кэшем фрагментов для работы без сети. Без команды открывает окно; команды выполняют пакетное задание без дисплея. orbivist КОМАНДА --help перечисляет параметры одной команды.</source>
        <translation>Satellite imagery viewer with an offline tile cache. Without a command it opens the viewer; the commands run a batch job without a display. orbivist COMMAND --help lists the options of one command.</translation>
    </message>
    <message>
        <source>
Параметры:
</source>
        <translation>
Options:
</translation>
    </message>
    <message>
        <source>Настройки, которые не указаны, берутся из DIR/ORB.ini; команды его никогда не записывают. Каждый параметр указывается не больше одного раза. Источник по шаблону доверяет сертификатам из ORBIVIST_CA_FILE наряду с системными, а его User-Agent называет ORBIVIST_CONTACT. Демо-источник на адресе по умолчанию запускает входящий в программу orbivist-tileserver, когда там никто не отвечает. Ход работы выводится в стандартный поток ошибок; Ctrl+C отменяет работу на следующем фрагменте.</source>
        <translation>Settings not given come from DIR/ORB.ini, which the commands never write. Each option is given at most once. A template source trusts the certificates of ORBIVIST_CA_FILE besides the system&apos;s, and its User-Agent names ORBIVIST_CONTACT. The demo source on its default address starts the bundled orbivist-tileserver when nothing answers there. Progress goes to standard error; Ctrl+C cancels at the next tile.</translation>
    </message>
    <message>
        <source>Код выхода: 0 готово, 1 сбой, 2 достигнут предел ошибок, 3 картинка или карта слишком велика, 4 отменено, 5 готово, но некоторые фрагменты получить не удалось (последняя строка говорит, сколько; на склеенной картинке вместо каждого заглушка).</source>
        <translation>Exit status: 0 done, 1 failure, 2 error limit reached, 3 picture or map too large, 4 cancelled, 5 done but some tiles could not be obtained (the last line says how many; a stitched picture shows a placeholder for each).</translation>
    </message>
</context>
</TS>
