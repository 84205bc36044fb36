// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/dialup/phone_book.h"

#include <algorithm>

std::vector<QString> PhoneBookNames(DialUpService& service) {
    EntryListing listing = service.EnumEntries(1);
    if (listing.result != 0)
        listing = service.EnumEntries(std::max(listing.count, 1));
    if (listing.result != 0)
        return {};
    return listing.names;
}
