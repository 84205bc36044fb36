// SPDX-License-Identifier: GPL-3.0-or-later
// The sources file's parser on any text: every source it accepts can be used as it stands,
// and every fault it finds is said with the file's name and a line of the text.
#include "fuzz/fuzz_check.h"
#include "sources/sources_file.h"
#include "sources/url_template.h"

#include <QRegularExpression>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const SourcesFileContents contents = ParseSourcesFile(text, QStringLiteral("f.ini"));

    static const QRegularExpression errorLine(QStringLiteral("^f\\.ini:(\\d+): \\S"));
    const qsizetype lines = text.count('\n') + 1;
    for (const QString& error : contents.errors) {
        const QRegularExpressionMatch match = errorLine.match(error);
        FUZZ_CHECK(match.hasMatch());
        const int line = match.captured(1).toInt();
        FUZZ_CHECK(line >= 1 && line <= lines);
    }
    FUZZ_CHECK(static_cast<qsizetype>(contents.sources.size()) <= text.count('['));
    for (const SourceDefinition& source : contents.sources) {
        FUZZ_CHECK(!source.name.isEmpty());
        FUZZ_CHECK(source.minLevel >= kLowestLevel && source.minLevel <= source.maxLevel &&
                   source.maxLevel <= kHighestLevel);
        FUZZ_CHECK(source.connections >= 1 && source.connections <= 16);
        FUZZ_CHECK(source.jpegQuality >= 1 && source.jpegQuality <= 100);
        if (source.kind == SourceKind::Template) {
            FUZZ_CHECK(!UrlTemplateProblem(source.urlTemplate, source.subdomains));
        }
        // Names are told apart without regard to case: no two alike in one file.
        int alike = 0;
        for (const SourceDefinition& other : contents.sources)
            alike += other.name.compare(source.name, Qt::CaseInsensitive) == 0;
        FUZZ_CHECK(alike == 1);
    }
    return 0;
}
