// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own windows-1251 table, byte for byte against the toolkit's converter.
#include "os/cp1251.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

TEST(Cp1251, EveryByteReadsAsTheConverterReadsItAndIsWrittenBackTheSame) {
    QStringDecoder reference("windows-1251");
    ASSERT_TRUE(reference.isValid());
    for (int value = 0; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        const QString ours = Cp1251Decode(QByteArrayView(&byte, 1));
        ASSERT_EQ(ours, QString(reference.decode(QByteArrayView(&byte, 1)))) << value;
        EXPECT_EQ(Cp1251Byte(ours[0]), byte) << value;
    }
}
