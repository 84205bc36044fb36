// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/cp1251.h"

#include <algorithm>
#include <iterator>

namespace {

// The characters of the bytes 0x80 to 0xFF in code page order, so that a character's byte is
// 0x80 plus its index here.
constexpr char16_t kUpperHalf[] = u"\u0402\u0403\u201A\u0453\u201E\u2026\u2020\u2021\u20AC\u2030"
                                  u"\u0409\u2039\u040A\u040C\u040B\u040F"
                                  u"\u0452\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u0098\u2122"
                                  u"\u0459\u203A\u045A\u045C\u045B\u045F"
                                  u"\u00A0\u040E\u045E\u0408\u00A4\u0490\u00A6\u00A7\u0401\u00A9"
                                  u"\u0404\u00AB\u00AC\u00AD\u00AE\u0407"
                                  u"\u00B0\u00B1\u0406\u0456\u0491\u00B5\u00B6\u00B7\u0451\u2116"
                                  u"\u0454\u00BB\u0458\u0405\u0455\u0457"
                                  u"\u0410\u0411\u0412\u0413\u0414\u0415\u0416\u0417\u0418\u0419"
                                  u"\u041A\u041B\u041C\u041D\u041E\u041F"
                                  u"\u0420\u0421\u0422\u0423\u0424\u0425\u0426\u0427\u0428\u0429"
                                  u"\u042A\u042B\u042C\u042D\u042E\u042F"
                                  u"\u0430\u0431\u0432\u0433\u0434\u0435\u0436\u0437\u0438\u0439"
                                  u"\u043A\u043B\u043C\u043D\u043E\u043F"
                                  u"\u0440\u0441\u0442\u0443\u0444\u0445\u0446\u0447\u0448\u0449"
                                  u"\u044A\u044B\u044C\u044D\u044E\u044F";
static_assert(std::size(kUpperHalf) == 0x80 + 1);

} // namespace

QString Cp1251Decode(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto unit = static_cast<unsigned char>(byte);
        *out++ = unit < 0x80 ? QChar(unit) : QChar(kUpperHalf[unit - 0x80]);
    }
    return text;
}

std::optional<char> Cp1251Byte(QChar c) {
    const char16_t unit = c.unicode();
    if (unit < 0x80)
        return static_cast<char>(unit);
    const auto* end = std::begin(kUpperHalf) + 0x80;
    const auto* found = std::find(std::begin(kUpperHalf), end, unit);
    if (found == end)
        return std::nullopt;
    return static_cast<char>(0x80 + (found - std::begin(kUpperHalf)));
}
