// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a sources file: UTF-8 text, one section per source, "key = value" lines, '#' comments.
//
//   [name]
//   title = What the user sees
//   url = https://{s}.tiles.example.org/{z}/{x}/{y}.png
//   format = png            # jpg (the default) or png
//   levels = 1-19           # lowest and highest level, 1 to 20
//   connections = 2         # transfers at once, 1 to 16 (the default 2)
//   rate = 8                # requests per second across them (the default 8)
//   bandwidth = 500k        # bytes per second, k and M being 1024 and 1024 * 1024 (no limit)
//   attribution = © Example contributors
//   bulk-download = no      # yes lets stitching and prefill use the source
//   subdomains = a b c      # what {s} takes; {date} is yesterday (UTC), for daily layers
//   jpeg-quality = 90       # for PNG tiles, which are kept as JPEG
//
// The section [demo] is the program's own demo server; it takes only a title and an
// attribution, since its address is the request prefix of ORB.ini.
#include "sources/source_definition.h"

#include <QByteArray>
#include <QStringList>
#include <vector>

struct SourcesFileContents {
    std::vector<SourceDefinition> sources; // the good sections, in file order
    QStringList errors;                    // "file:line: what is wrong", one per fault
};

// fileName is only used in the error lines. A section with an error is left out whole.
SourcesFileContents ParseSourcesFile(const QByteArray& text, const QString& fileName);
