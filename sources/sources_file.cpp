// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/sources_file.h"

#include "sources/source_pace.h"
#include "sources/url_template.h"
#include "tiles/decimal_text.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <optional>
#include <tuple>

namespace {

constexpr int kMostConnections = 16;
constexpr qint64 kMostDailyLimit = 1'000'000'000;

// A section being read: the source so far, where it began, and whether it went wrong.
struct Section {
    SourceDefinition source;
    int line = 0;
    bool failed = false;
    QStringList keys;
};

// 1 to 64 ASCII letters, digits, '-' or '_'. Checked by hand: a regular expression would be
// compiled as every start reads the sources files.
bool IsSourceName(const QString& name) {
    return !name.isEmpty() && name.size() <= 64 &&
           std::all_of(name.begin(), name.end(), [](QChar c) {
               return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'_' || c == u'-');
           });
}

std::optional<int> ReadInt(const QString& text, int low, int high) {
    const std::optional<int> value = ParseInt(QStringView(text).trimmed());
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return value;
}

template <typename Value, typename Field>
bool Set(const std::optional<Value>& value, Field& field) {
    if (value)
        field = *value;
    return value.has_value();
}

// A key whose value is one number of the source, read by its own parser.
struct NumberKey {
    QStringView key;
    // Sets the source's number; false when the text is not one.
    bool (*take)(const QString& text, SourceDefinition& source);
    // What the number is, said when the text is not one.
    QString (*what)();
};

const NumberKey kNumberKeys[] = {
    {u"connections",
     [](const QString& text, SourceDefinition& s) {
         return Set(ReadInt(text, 1, kMostConnections), s.connections);
     },
     [] { return QStringLiteral("connections is a number from 1 to %1").arg(kMostConnections); }},
    {u"rate",
     [](const QString& text, SourceDefinition& s) { return Set(RateOfText(text), s.rate); },
     [] {
         return QStringLiteral("rate is requests per second, more than 0 and at most %1")
             .arg(kMostRate);
     }},
    {u"bandwidth",
     [](const QString& text, SourceDefinition& s) {
         return Set(BandwidthOfText(text), s.bandwidth);
     },
     [] { return QStringLiteral("bandwidth is bytes per second as in 200000, 500k or 2M"); }},
    {u"max-age",
     [](const QString& text, SourceDefinition& s) {
         return Set(MaxAgeOfText(text), s.maxAgeSeconds);
     },
     [] { return QStringLiteral("max-age is a time as in 3600, 12h or 7d"); }},
    {u"daily-limit",
     [](const QString& text, SourceDefinition& s) {
         const std::optional<qint64> limit = ParseInt64(QStringView(text).trimmed());
         return Set(limit && *limit >= 1 && *limit <= kMostDailyLimit ? limit : std::nullopt,
                    s.dailyLimit);
     },
     [] {
         return QStringLiteral("daily-limit is a number of requests from 1 to %1")
             .arg(kMostDailyLimit);
     }},
    {u"jpeg-quality",
     [](const QString& text, SourceDefinition& s) {
         return Set(ReadInt(text, 1, 100), s.jpegQuality);
     },
     [] { return QStringLiteral("jpeg-quality is a number from 1 to 100"); }},
};

const NumberKey* FindNumberKey(const QString& key) {
    for (const NumberKey& number : kNumberKeys)
        if (key == number.key)
            return &number;
    return nullptr;
}

class Reader {
public:
    explicit Reader(QString fileName) : fileName_(std::move(fileName)) {}

    void Line(int number, QString line) {
        const qsizetype hash = line.indexOf(u'#');
        // A '#' inside a value (an URL fragment, say) is kept when no blank precedes it.
        if (hash == 0 || (hash > 0 && line[hash - 1].isSpace()))
            line.truncate(hash);
        line = line.trimmed();
        if (line.isEmpty())
            return;
        if (line.startsWith(u'[')) {
            Close();
            OpenSection(number, line);
            return;
        }
        if (!section_) {
            Error(number, QStringLiteral("a \"[name]\" line must come before \"%1\"").arg(line));
            return;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0) {
            Fail(number, QStringLiteral("expected \"key = value\", found \"%1\"").arg(line));
            return;
        }
        Field(number, line.left(equals).trimmed().toLower(), line.mid(equals + 1).trimmed());
    }

    SourcesFileContents Finish() {
        Close();
        return std::move(contents_);
    }

    void Error(int number, const QString& message) {
        contents_.errors << QStringLiteral("%1:%2: %3").arg(fileName_).arg(number).arg(message);
    }

private:
    void Fail(int number, const QString& message) {
        Error(number, message);
        if (section_)
            section_->failed = true;
    }

    void OpenSection(int number, const QString& line) {
        section_.emplace();
        section_->line = number;
        const QString name =
            line.endsWith(u']') ? line.mid(1, line.size() - 2).trimmed() : QString();
        if (!IsSourceName(name)) {
            Fail(number, QStringLiteral("a source name is 1 to 64 letters, digits, '-' or '_' "
                                        "in brackets, as in [my-source]; found \"%1\"")
                             .arg(line));
            return;
        }
        for (const QString& seen : seen_)
            if (seen.compare(name, Qt::CaseInsensitive) == 0)
                Fail(number, QStringLiteral("the source \"%1\" is named twice").arg(name));
        seen_ << name;
        const bool demo = name.compare(kDemoSourceName, Qt::CaseInsensitive) == 0;
        section_->source = demo ? DemoSource() : SourceDefinition{};
        if (!demo) {
            section_->source.connections = kPoliteConnections;
            section_->source.rate = kPoliteRate;
        }
        section_->source.name = name;
        if (demo)
            section_->source.name = kDemoSourceName;
    }

    void Field(int number, const QString& key, const QString& value) {
        SourceDefinition& s = section_->source;
        if (section_->keys.contains(key)) {
            Fail(number, QStringLiteral("\"%1\" is given twice").arg(key));
            return;
        }
        section_->keys << key;
        const bool demo = s.kind == SourceKind::Demo;
        if (key == u"title") {
            s.title = value;
        } else if (key == u"attribution") {
            s.attribution = value;
        } else if (demo) {
            Fail(number, QStringLiteral("the demo source takes only a title and an attribution; "
                                        "its address is the request prefix of ORB.ini"));
        } else if (key == u"url") {
            s.urlTemplate = value;
        } else if (key == u"format") {
            if (value == u"jpg" || value == u"png")
                s.format = value == u"png" ? TileFormat::Png : TileFormat::Jpeg;
            else
                Fail(number, QStringLiteral("format is jpg or png, not \"%1\"").arg(value));
        } else if (key == u"levels") {
            const QStringList ends = value.split(u'-');
            const auto low = ReadInt(ends.value(0).trimmed(), kLowestLevel, kHighestLevel);
            const auto high = ReadInt(ends.value(1).trimmed(), kLowestLevel, kHighestLevel);
            if (ends.size() != 2 || !low || !high || *low > *high)
                Fail(number, QStringLiteral("levels are two numbers from %1 to %2 as in 1-18, "
                                            "the lowest first; found \"%3\"")
                                 .arg(kLowestLevel)
                                 .arg(kHighestLevel)
                                 .arg(value));
            else
                std::tie(s.minLevel, s.maxLevel) = std::pair(*low, *high);
        } else if (const NumberKey* numeric = FindNumberKey(key)) {
            if (!numeric->take(value, s))
                Fail(number, QStringLiteral("%1, not \"%2\"").arg(numeric->what(), value));
        } else if (key == u"bulk-download") {
            if (value == u"yes" || value == u"no")
                s.bulkDownload = value == u"yes";
            else
                Fail(number, QStringLiteral("bulk-download is yes or no, not \"%1\"").arg(value));
        } else if (key == u"subdomains") {
            static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
            s.subdomains = value.split(separators, Qt::SkipEmptyParts);
        } else {
            Fail(number, QStringLiteral("unknown key \"%1\"").arg(key));
        }
    }

    // Checks what only the whole section can tell, and keeps the source if all is well.
    void Close() {
        if (!section_)
            return;
        SourceDefinition& s = section_->source;
        if (!section_->failed && s.kind == SourceKind::Template) {
            if (s.urlTemplate.isEmpty())
                Fail(section_->line, QStringLiteral("[%1] has no url").arg(s.name));
            else if (const auto problem = UrlTemplateProblem(s.urlTemplate, s.subdomains))
                Fail(section_->line, QStringLiteral("[%1] url: %2").arg(s.name, *problem));
        }
        if (s.title.isEmpty())
            s.title = s.name;
        if (!section_->failed)
            contents_.sources.push_back(std::move(s));
        section_.reset();
    }

    QString fileName_;
    std::optional<Section> section_;
    QStringList seen_;
    SourcesFileContents contents_;
};

} // namespace

SourcesFileContents ParseSourcesFile(const QByteArray& text, const QString& fileName) {
    Reader reader(fileName);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray bytes = lines[i];
        if (i == 0 && bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3); // a byte order mark some editors write
        QString line = utf8.decode(bytes);
        if (utf8.hasError()) {
            // A file saved in another code page would give garbled titles: read none of it.
            return {{},
                    {QStringLiteral("%1:%2: the file is not UTF-8 text").arg(fileName).arg(i + 1)}};
        }
        reader.Line(static_cast<int>(i + 1), line);
    }
    return reader.Finish();
}
