// SPDX-License-Identifier: GPL-3.0-or-later
// Dialling, hanging up and the phone-book listing, over a scripted service.
#include "batch/dialup/dial_up.h"
#include "batch/dialup/phone_book.h"
#include "tests/support/fake_dial_up.h"

#include <gtest/gtest.h>

namespace {

const QString kCaption = QStringLiteral("ошибки");

TEST(DialConnection, SuccessShowsNothingAndLeavesTheStatus) {
    FakeDialUp service;
    FakeDialReporter reporter;
    DialConnection(service, reporter, QStringLiteral("isp"), QStringLiteral("ivan"),
                   QStringLiteral("secret"));
    ASSERT_EQ(service.dials.size(), 1u);
    EXPECT_EQ(service.dials[0].entry, QStringLiteral("isp"));
    EXPECT_EQ(service.dials[0].user, QStringLiteral("ivan"));
    EXPECT_EQ(service.dials[0].password, QStringLiteral("secret"));
    EXPECT_EQ(reporter.statuses, QStringList{QStringLiteral("Подключение...")});
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_TRUE(service.hungUp.empty());
}

TEST(DialConnection, FailureHangsUpTheHalfMadeLinkAndShowsTheServicesText) {
    FakeDialUp service;
    FakeDialReporter reporter;
    service.dialResult = 8;
    service.dialHandle = 4242;
    service.errorTexts[8] = QStringLiteral("линия занята");
    DialConnection(service, reporter, QStringLiteral("isp"), {}, {});
    EXPECT_EQ(service.hungUp, std::vector<ConnectionHandle>{4242});
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].first, kCaption);
    EXPECT_EQ(reporter.messages[0].second, QStringLiteral("линия занята"));

    // No handle and no text for the code: nothing to hang up and nothing shown.
    FakeDialReporter quiet;
    service.dialHandle = 0;
    service.dialResult = 9;
    service.hungUp.clear();
    DialConnection(service, quiet, QStringLiteral("isp"), {}, {});
    EXPECT_TRUE(service.hungUp.empty());
    EXPECT_TRUE(quiet.messages.empty());
}

TEST(DialConnection, EveryFieldIsCutTo256Characters) {
    FakeDialUp service;
    FakeDialReporter reporter;
    const QString longText(300, QChar(u'я'));
    DialConnection(service, reporter, longText, longText, longText);
    ASSERT_EQ(service.dials.size(), 1u);
    EXPECT_EQ(service.dials[0].entry, QString(256, QChar(u'я')));
    EXPECT_EQ(service.dials[0].user.size(), 256);
    EXPECT_EQ(service.dials[0].password.size(), 256);
}

TEST(HangUpAllConnections, HangsUpTheLastListedUntilNoneIsLeft) {
    FakeDialUp service;
    FakeDialReporter reporter;
    service.connections = {11, 22, 33};
    HangUpAllConnections(service, reporter, {50, std::chrono::milliseconds(0)});
    EXPECT_EQ(service.hungUp, (std::vector<ConnectionHandle>{33, 22, 11}));
    EXPECT_EQ(service.connectionRooms, (std::vector<int>{20, 20, 20, 20}));
    EXPECT_EQ(reporter.statuses, QStringList{QStringLiteral("Отключение...")});
}

TEST(HangUpAllConnections, NoConnectionOnlySetsTheStatus) {
    FakeDialUp service;
    FakeDialReporter reporter;
    HangUpAllConnections(service, reporter);
    EXPECT_TRUE(service.hungUp.empty());
    EXPECT_EQ(reporter.statuses, QStringList{QStringLiteral("Отключение...")});
    EXPECT_TRUE(reporter.messages.empty());
}

TEST(HangUpAllConnections, GivesUpOnAConnectionThatNeverGoesDown) {
    FakeDialUp service;
    FakeDialReporter reporter;
    service.connections = {7};
    service.hangUpIgnored = true;
    HangUpAllConnections(service, reporter, {5, std::chrono::milliseconds(1)});
    EXPECT_EQ(service.hungUp, std::vector<ConnectionHandle>(5, 7));
}

TEST(PhoneBookNames, AsksWithRoomForOneThenForAllInTheirOrder) {
    FakeDialUp service;
    service.entries = {QStringLiteral("work"), QStringLiteral("home"), QStringLiteral("isp")};
    EXPECT_EQ(PhoneBookNames(service), service.entries);
    EXPECT_EQ(service.entryRooms, (std::vector<int>{1, 3}));

    FakeDialUp single;
    single.entries = {QStringLiteral("isp")};
    EXPECT_EQ(PhoneBookNames(single), single.entries);
    EXPECT_EQ(single.entryRooms, std::vector<int>{1});

    FakeDialUp empty;
    EXPECT_TRUE(PhoneBookNames(empty).empty());
    EXPECT_EQ(empty.entryRooms, std::vector<int>{1});
}

} // namespace
