// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names of the dial-up service's phone-book entries, asked for as the service expects:
// with room for one first, then with room for as many as it reported.
#include "batch/dialup/dial_up_service.h"

#include <QString>
#include <vector>

// Empty when the phone book is empty or the service fails.
std::vector<QString> PhoneBookNames(DialUpService& service);
