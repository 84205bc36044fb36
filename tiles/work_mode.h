#pragma once

// Where the tile loader may take tiles from.
enum class WorkMode { CacheOnly, InternetOnly, CacheAndInternet };
