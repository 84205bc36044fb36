// SPDX-License-Identifier: GPL-3.0-or-later
// The sources file, the URL templates, the cache folders and PNG tiles.
#include "image/png_tile.h"
#include "sources/source_cache_folder.h"
#include "sources/source_catalog.h"
#include "sources/source_pace.h"
#include "sources/sources_file.h"
#include "sources/url_template.h"
#include "tests/support/temp_dir.h"

#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <tuple>

namespace {

SourcesFileContents Parse(const QByteArray& text) {
    return ParseSourcesFile(text, "S.ini");
}

} // namespace

TEST(SourcesFile, ReadsEveryFieldAndKeepsTheDemoSourceAsToday) {
    const SourcesFileContents read = Parse("\xEF\xBB\xBF# shipped\n[demo]\ntitle = Демо\n\n"
                                           "[Sat-1]  # comment\n"
                                           "url = https://{s}.t.example/{z}/{x}/{-y}.png#frag\n"
                                           "title = Спутник\nformat = png\nlevels = 3-17\n"
                                           "connections = 4\nattribution = © Ex\n"
                                           "bulk-download = yes\nsubdomains = a, b c\n"
                                           "jpeg-quality = 75\n");
    ASSERT_TRUE(read.errors.isEmpty()) << read.errors.join('\n').toStdString();
    ASSERT_EQ(read.sources.size(), 2u);
    SourceDefinition demo = DemoSource();
    demo.title = "Демо";
    EXPECT_EQ(read.sources[0], demo);
    const SourceDefinition& s = read.sources[1];
    EXPECT_EQ(s.name, "Sat-1");
    EXPECT_EQ(s.urlTemplate, "https://{s}.t.example/{z}/{x}/{-y}.png#frag");
    EXPECT_EQ(s.title, "Спутник");
    EXPECT_EQ(s.format, TileFormat::Png);
    EXPECT_EQ(std::pair(s.minLevel, s.maxLevel), std::pair(3, 17));
    EXPECT_EQ(s.connections, 4);
    EXPECT_EQ(s.attribution, "© Ex");
    EXPECT_TRUE(s.bulkDownload);
    EXPECT_EQ(s.subdomains, QStringList({"a", "b", "c"}));
    EXPECT_EQ(s.jpegQuality, 75);
}

TEST(SourcesFile, ASourceThatSaysNothingOfItsPaceIsPoliteAndTheCommandLineOnlyLowersIt) {
    const SourcesFileContents read =
        Parse("[quiet]\nurl = http://h/{q}\n"
              "[paced]\nurl = http://h/{q}\nrate = 0.5\nbandwidth = 500k\nconnections = 4\n"
              "max-age = 7d\ndaily-limit = 10000\n");
    ASSERT_EQ(read.sources.size(), 2u) << read.errors.join('\n').toStdString();
    const SourceDefinition& quiet = read.sources[0];
    const SourceDefinition& paced = read.sources[1];
    EXPECT_EQ(std::tuple(quiet.connections, quiet.rate, quiet.bandwidth),
              std::tuple(2, kPoliteRate, qint64{0}));
    EXPECT_EQ(std::tuple(paced.connections, paced.rate, paced.bandwidth),
              std::tuple(4, 0.5, qint64{500 * 1024}));
    EXPECT_EQ(DemoSource().rate, 0); // the demo server is the program's own
    EXPECT_EQ(std::tuple(quiet.maxAgeSeconds, quiet.dailyLimit),
              std::tuple(std::optional<qint64>(), qint64{0}));
    EXPECT_EQ(std::tuple(paced.maxAgeSeconds, paced.dailyLimit),
              std::tuple(std::optional<qint64>(7 * 24 * 3600), qint64{10000}));

    const struct {
        std::optional<double> rate;
        std::optional<qint64> bandwidth;
        double quietRate, pacedRate;
        qint64 quietBytes, pacedBytes;
    } lowered[] = {
        {std::nullopt, std::nullopt, kPoliteRate, 0.5, 0, 500 * 1024},
        {2, 1024, 2, 0.5, 1024, 1024},
        {100, 2 << 20, kPoliteRate, 0.5, 2 << 20, 500 * 1024},
    };
    for (const auto& c : lowered) {
        const SourceDefinition q = WithLowerPace(quiet, c.rate, c.bandwidth);
        const SourceDefinition p = WithLowerPace(paced, c.rate, c.bandwidth);
        EXPECT_EQ(std::tuple(q.rate, p.rate, q.bandwidth, p.bandwidth),
                  std::tuple(c.quietRate, c.pacedRate, c.quietBytes, c.pacedBytes));
    }
    EXPECT_EQ(BandwidthOfText("2M"), qint64{2} << 20);
    EXPECT_EQ(BandwidthOfText("-1k"), std::nullopt);
}

TEST(SourcesFile, NamesTheLineOfEachFaultAndDropsOnlyThatSection) {
    const char* const kGood = "[ok]\nurl = http://h/{q}\n";
    const struct {
        QByteArray text;
        const char* error;
    } cases[] = {
        {"title = x\n", "S.ini:1: a \"[name]\" line must come before"},
        {"[a b]\nurl = http://h/{q}\n", "S.ini:1: a source name is"},
        {"[]\nurl = http://h/{q}\n", "S.ini:1: a source name is"},
        {"[\xD1\x91]\nurl = http://h/{q}\n", "S.ini:1: a source name is"}, // a Cyrillic letter
        {"[" + QByteArray(65, 'a') + "]\nurl = http://h/{q}\n", "S.ini:1: a source name is"},
        {"[x]\nurl http://h/{q}\n", "S.ini:2: expected \"key = value\""},
        {"[x]\nurl = http://h/{q}\ncolour = red\n", "S.ini:3: unknown key \"colour\""},
        {"[x]\nurl = http://h/{q}\nurl = http://h/{q}\n", "S.ini:3: \"url\" is given twice"},
        {"[x]\nurl = http://h/{q}\nformat = gif\n", "S.ini:3: format is jpg or png"},
        {"[x]\nurl = http://h/{q}\nlevels = 5-2\n", "S.ini:3: levels are two numbers"},
        {"[x]\ntitle = t\n", "S.ini:1: [x] has no url"},
        {"[x]\nurl = http://h/{z}/{x}/{Y}\n", "S.ini:1: [x] url: unknown field {Y}"},
        {"[x]\nurl = http://h/{}{q}\n", "S.ini:1: [x] url: unknown field {}"},
        {"[x]\nurl = http://h/{z}/{x}/{y\n", "S.ini:1: [x] url: a '{' is not closed"},
        {"[x]\nurl = http://{s}.h/{q}\n", "S.ini:1: [x] url: {s} needs subdomains"},
        {"[x]\nurl = http://h/{z}/{x}\n", "S.ini:1: [x] url: the URL names no tile"},
        {"[x]\nurl = file:///etc/{q}\n", "S.ini:1: [x] url: the URL must begin with http"},
        {"[demo]\nurl = http://h/{q}\n", "S.ini:2: the demo source takes only a title"},
        {"[ok2]\nurl = http://h/{q}\n[OK2]\nurl = http://h/{q}\n",
         "S.ini:3: the source \"OK2\" is named twice"},
        {"[x]\ntitle = \xFF\n", "S.ini:2: the file is not UTF-8 text"},
        {"[x]\nurl = http://h/{q}\nrate = 0\n", "S.ini:3: rate is requests per second"},
        {"[x]\nurl = http://h/{q}\nrate = fast\n", "S.ini:3: rate is requests per second"},
        {"[x]\nurl = http://h/{q}\nbandwidth = 5g\n", "S.ini:3: bandwidth is bytes per second"},
        {"[x]\nurl = http://h/{q}\nbandwidth = 0\n", "S.ini:3: bandwidth is bytes per second"},
        {"[x]\nurl = http://h/{q}\nmax-age = 7w\n", "S.ini:3: max-age is a time"},
        {"[x]\nurl = http://h/{q}\ndaily-limit = 0\n", "S.ini:3: daily-limit is a number"},
    };
    for (const auto& c : cases) {
        const SourcesFileContents read = Parse(c.text + kGood);
        ASSERT_EQ(read.errors.size(), 1) << c.text.toStdString();
        EXPECT_TRUE(read.errors[0].startsWith(QString::fromUtf8(c.error)))
            << read.errors[0].toStdString();
        const bool unreadable = QByteArray(c.error).contains("UTF-8");
        EXPECT_EQ(read.sources.size(), unreadable                   ? 0u
                                       : c.text.startsWith("[ok2]") ? 2u
                                                                    : 1u)
            << c.text.toStdString();
    }
}

TEST(SourceCatalog, UserSourcesAddToTheShippedOnesWithTheDemoSourceFirst) {
    TempDir dir;
    dir.write("Sources.ini", "[shipped]\nurl = http://a/{q}\n[demo]\n");
    dir.write("MySources.ini", "[mine]\nurl = http://b/{q}\n[SHIPPED]\nurl = http://c/{q}\n");
    const SourceCatalog catalog =
        LoadSourceCatalog(dir.file("Sources.ini"), dir.file("MySources.ini"));
    ASSERT_EQ(catalog.sources.size(), 3u);
    EXPECT_EQ(catalog.sources[0].name, "demo");
    EXPECT_EQ(catalog.Find("MINE")->urlTemplate, "http://b/{q}");
    EXPECT_EQ(catalog.Find("shipped")->urlTemplate, "http://a/{q}");
    ASSERT_EQ(catalog.problems.size(), 1);
    EXPECT_TRUE(catalog.problems[0].contains("\"SHIPPED\" is already defined"));

    // Without any file the demo source is still there, and the missing shipped file is said.
    const SourceCatalog bare = LoadSourceCatalog(dir.file("none.ini"), dir.file("none2.ini"));
    ASSERT_EQ(bare.sources.size(), 1u);
    EXPECT_EQ(bare.sources[0], DemoSource());
    EXPECT_EQ(bare.problems.size(), 1);
}

TEST(SourceCatalog, TheShippedFileHasTheDemoAndPublicSourcesAsTheirProvidersDocumentThem) {
    const SourceCatalog catalog = LoadSourceCatalog(ORBIVIST_SOURCE_DIR "/app/Sources.ini", "");
    EXPECT_TRUE(catalog.problems.isEmpty()) << catalog.problems.join('\n').toStdString();
    ASSERT_EQ(catalog.sources.size(), 5u);
    EXPECT_EQ(catalog.sources[0].kind, SourceKind::Demo);
    // Each provider's documented address of one tile: level, column, row as XYZ counts them.
    const struct {
        const char* name;
        int level;
        quint32 column, row;
        const char* url;
        bool bulk;
    } documented[] = {
        {"nasa-gibs-modis", 2, 1, 3,
         "https://gibs.earthdata.nasa.gov/wmts/epsg3857/best/"
         "MODIS_Terra_CorrectedReflectance_TrueColor/default/2013-06-15/"
         "GoogleMapsCompatible_Level9/2/3/1.jpg",
         true},
        {"usgs-imagery", 7, 37, 48,
         "https://basemap.nationalmap.gov/arcgis/rest/services/USGSImageryOnly/MapServer/"
         "tile/7/48/37",
         true},
        {"eox-s2cloudless", 5, 17, 10,
         "https://tiles.maps.eox.at/wmts/1.0.0/s2cloudless-2020_3857/default/g/5/10/17.jpg", false},
        {"osm-standard", 10, 585, 298, "https://tile.openstreetmap.org/10/585/298.png", false},
    };
    for (const auto& d : documented) {
        const auto named = [&](const SourceDefinition& s) { return s.name == d.name; };
        const auto found = std::find_if(catalog.sources.begin(), catalog.sources.end(), named);
        ASSERT_NE(found, catalog.sources.end()) << d.name;
        const SourceDefinition& s = *found;
        EXPECT_EQ(ExpandUrlTemplate(s.urlTemplate, s.subdomains, d.level, d.column, d.row,
                                    QDate(2013, 6, 15)),
                  d.url);
        EXPECT_EQ(s.bulkDownload, d.bulk) << d.name;
        EXPECT_FALSE(s.attribution.isEmpty()) << d.name;
    }
    // Its commented examples are sound once uncommented.
    QFile shipped(ORBIVIST_SOURCE_DIR "/app/Sources.ini");
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    QByteArray examples;
    const QByteArray text = shipped.readAll();
    for (const QByteArray& line : text.mid(text.indexOf("# Examples")).split('\n'))
        if (line.startsWith("# [") || (line.startsWith("# ") && line.contains(" = ")))
            examples += line.mid(2) + '\n';
    const SourcesFileContents read = Parse(examples);
    EXPECT_TRUE(read.errors.isEmpty()) << read.errors.join('\n').toStdString();
    EXPECT_EQ(read.sources.size(), 3u);
}

TEST(UrlTemplate, FillsEveryFieldForTheTileAsked) {
    const QStringList abc{"a", "b", "c"};
    const struct {
        const char* urlTemplate;
        int level;
        quint32 column, row;
        const char* url;
    } cases[] = {
        {"https://h/{z}/{x}/{y}.png", 3, 5, 2, "https://h/3/5/2.png"},
        // TMS counts rows from the south: the south row of level 1 is row 0 there.
        {"https://h/{z}/{x}/{-y}.png", 1, 0, 1, "https://h/1/0/0.png"},
        {"https://h/{z}/{x}/{-y}.png", 3, 5, 2, "https://h/3/5/5.png"},
        {"https://h/{z}/{x}/{-y}", 20, 0, 0, "https://h/20/0/1048575"},
        {"https://h/a{q}.jpeg", 1, 1, 0, "https://h/a1.jpeg"},
        {"https://h/a{q}.jpeg", 3, 3, 5, "https://h/a213.jpeg"},
        {"https://h/a{q}", 20, 1048575, 1048575, "https://h/a33333333333333333333"},
        {"https://{s}.h/{z}/{x}/{y}", 2, 0, 0, "https://a.h/2/0/0"},
        {"https://{s}.h/{z}/{x}/{y}", 2, 1, 0, "https://b.h/2/1/0"},
        {"https://{s}.h/{z}/{x}/{y}", 2, 1, 1, "https://c.h/2/1/1"},
        {"https://{s}.h/{z}/{x}/{y}", 2, 2, 2, "https://b.h/2/2/2"},
        {"https://h/{date}/{z}/{y}/{x}", 1, 1, 0, "https://h/2024-02-29/1/0/1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandUrlTemplate(c.urlTemplate, abc, c.level, c.column, c.row, {2024, 2, 29}),
                  c.url)
            << c.urlTemplate << ' ' << c.level << '/' << c.column << '/' << c.row;
}

TEST(SourceCacheFolder, EachSourceHasItsOwnFolderThatStaysInsideTheRoot) {
    const auto folder = [](const char* name) {
        SourceDefinition source;
        source.name = QString::fromUtf8(name);
        return SourceCacheFolder("/c/Cash/", source);
    };
    EXPECT_EQ(SourceCacheFolder("/c/Cash/", DemoSource()), "/c/Cash/");
    EXPECT_EQ(folder("osm"), "/c/Cash/source-osm/");
    EXPECT_EQ(folder("Sat_2-b"), "/c/Cash/source-Sat_2-b/");
    EXPECT_EQ(folder(".."), "/c/Cash/source-%2E%2E/");
    EXPECT_EQ(folder("a/b"), "/c/Cash/source-a%2Fb/");
    EXPECT_EQ(folder("карта"), "/c/Cash/source-%D0%BA%D0%B0%D1%80%D1%82%D0%B0/");
    EXPECT_NE(folder("a%2Fb"), folder("a/b"));
}

TEST(PngTile, OnlyA256SquarePngBecomesAJpegOfTheSamePicture) {
    const auto png = [](int width, int height, QImage::Format format) {
        QImage image(width, height, format);
        image.fill(QColor(200, 40, 40, 255));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    };
    for (const QImage::Format format : {QImage::Format_RGB888, QImage::Format_ARGB32,
                                        QImage::Format_Indexed8, QImage::Format_Grayscale8}) {
        const std::optional<QByteArray> jpeg = PngTileAsJpeg(png(256, 256, format), 90);
        ASSERT_TRUE(jpeg) << format;
        const QImage back = QImage::fromData(*jpeg, "JPEG");
        EXPECT_EQ(back.size(), QSize(256, 256));
        if (format != QImage::Format_Grayscale8 && format != QImage::Format_Indexed8) {
            EXPECT_NEAR(back.pixelColor(128, 128).red(), 200, 8);
        }
    }
    QByteArray cut = png(256, 256, QImage::Format_RGB888);
    cut.chop(cut.size() / 2);
    for (const QByteArray& bad :
         {png(255, 256, QImage::Format_RGB888), png(512, 512, QImage::Format_RGB888), cut,
          QByteArray("\xFF\xD8\xFF\xD9 not a png")})
        EXPECT_FALSE(PngTileAsJpeg(bad, 90)) << bad.size();
}
