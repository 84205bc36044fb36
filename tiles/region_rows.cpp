// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/region_rows.h"

#include <algorithm>
#include <cmath>

namespace {

// Where the edge from south to north (south's latitude below north's) crosses the
// parallel, as a longitude.
double LongitudeAt(const GeoPoint& south, const GeoPoint& north, double latitude) {
    if (latitude <= south.latitude)
        return south.longitude;
    if (latitude >= north.latitude)
        return north.longitude;
    const double t = (latitude - south.latitude) / (north.latitude - south.latitude);
    return south.longitude + t * (north.longitude - south.longitude);
}

// A row edge's latitude in double arithmetic: some ten times cheaper than the long double of
// RowEdgeLatitude, and within a few units of the last place of it.
double CheapEdgeLatitude(int level, std::int64_t row) {
    constexpr double kPiDouble = 3.141592653589793;
    const double y = std::ldexp(static_cast<double>(row), 1 - level) - 1; // exact, -1..1
    return 90 - std::atan(std::exp(y * kPiDouble)) * (360 / kPiDouble);
}

// Far beyond what the cheap form may be off by, far below any distance that matters.
constexpr double kNearEdgeDegrees = 1e-9;

} // namespace

double RegionRows::EdgeLatitude(std::int64_t row) {
    const double cheap = CheapEdgeLatitude(level_, row);
    // A point of the boundary this near the edge is on its side by the exact value alone: so
    // a vertex placed on a tile's edge or corner touches that tile.
    const std::vector<double>& latitudes = region_.LatitudesFromNorth();
    const auto near = std::partition_point(
        latitudes.begin() + static_cast<std::ptrdiff_t>(nearLatitude_), latitudes.end(),
        [&](double latitude) { return latitude > cheap + kNearEdgeDegrees; });
    nearLatitude_ = static_cast<std::size_t>(near - latitudes.begin());
    if (nearLatitude_ < latitudes.size() && latitudes[nearLatitude_] >= cheap - kNearEdgeDegrees)
        return RowEdgeLatitude(level_, static_cast<double>(row));
    return cheap;
}

RegionRows::RegionRows(GeoRegion region, int level)
    : region_(std::move(region)), level_(level), columns_(std::int64_t{1} << level),
      columnDegrees_(360.0 / static_cast<double>(std::int64_t{1} << level)) {
    if (region_.IsEmpty())
        return;
    const GeoBounds bounds = region_.Bounds();
    const auto rowNorth = [&](std::int64_t row) {
        return RowEdgeLatitude(level, static_cast<double>(row));
    };
    const auto estimate = [&](double latitude) {
        const double row = RowAtLatitude(level, std::clamp(latitude, -89.0, 89.0));
        return std::clamp<std::int64_t>(static_cast<std::int64_t>(std::floor(row)), 0,
                                        columns_ - 1);
    };
    // The first row: the northernmost whose south edge is not north of the region.
    std::int64_t first = estimate(bounds.north);
    while (first > 0 && rowNorth(first) <= bounds.north)
        --first;
    while (first < columns_ - 1 && rowNorth(first + 1) > bounds.north)
        ++first;
    // The last row: the southernmost whose north edge is not south of the region.
    std::int64_t last = estimate(bounds.south);
    while (last < columns_ - 1 && rowNorth(last + 1) >= bounds.south)
        ++last;
    while (last > 0 && rowNorth(last) < bounds.south)
        --last;
    if (rowNorth(first + 1) > bounds.north || rowNorth(last) < bounds.south || first > last)
        return;
    row_ = first - 1;
    lastRow_ = last;
    rowNorth_ = rowNorth(first);
}

bool RegionRows::Next() {
    while (row_ < lastRow_) {
        ++row_;
        ScanRow();
        if (!runs_.empty())
            return true;
    }
    runs_.clear();
    return false;
}

void RegionRows::ScanRow() {
    const double north = rowNorth_;
    const double south = EdgeLatitude(row_ + 1);
    rowNorth_ = south;
    const std::vector<RegionChain>& chains = region_.ChainsFromNorth();
    const std::vector<GeoPoint>& points = region_.ChainPoints();
    // Where a chain crosses the parallel at latitude, its cursor at its first point not north
    // of it, which is not its first point.
    const auto crossing = [&](std::size_t cursor, double latitude) {
        return points[cursor].latitude == latitude
                   ? points[cursor].longitude
                   : LongitudeAt(points[cursor], points[cursor - 1], latitude);
    };
    std::erase_if(active_, [&](const ActiveChain& a) { return a.chain.southLatitude > north; });
    for (; nextChain_ < chains.size() && chains[nextChain_].northLatitude >= south; ++nextChain_) {
        const RegionChain& chain = chains[nextChain_];
        if (chain.southLatitude > north)
            continue;
        std::size_t cursor = chain.first;
        while (points[cursor].latitude > north)
            ++cursor;
        active_.push_back({chain, cursor, cursor > chain.first ? crossing(cursor, north) : 0});
    }

    runs_.clear();
    crossings_.clear();
    stretches_.clear();
    // The region's part in the row's band projects onto the same longitudes as its boundary
    // there, together with the stretches inside it along the band's north edge.
    for (ActiveChain& active : active_) {
        const RegionChain& chain = active.chain;
        std::size_t cursor = active.cursor;
        const bool fromNorth = cursor > chain.first; // the chain comes in across the north edge
        if (fromNorth && cursor < chain.end)
            crossings_.push_back(active.northLongitude);
        double west = fromNorth ? active.northLongitude : points[cursor].longitude;
        double east = west;
        const auto take = [&](double longitude) {
            west = std::min(west, longitude);
            east = std::max(east, longitude);
        };
        cursor = TakeNorthOf(south, cursor, chain.end, take);
        for (std::size_t on = cursor; on < chain.end && points[on].latitude == south; ++on)
            take(points[on].longitude);
        if (cursor < chain.end && cursor > chain.first) { // leaves across the south edge
            active.northLongitude = crossing(cursor, south);
            take(active.northLongitude);
        }
        active.cursor = cursor;
        stretches_.push_back({west, east});
    }
    std::sort(crossings_.begin(), crossings_.end());
    for (std::size_t i = 0; i + 1 < crossings_.size(); i += 2)
        stretches_.push_back({crossings_[i], crossings_[i + 1]});
    // Overlapping stretches meet the columns their union meets: merged first, each becomes
    // columns once.
    std::sort(stretches_.begin(), stretches_.end(),
              [](const LongitudeRange& a, const LongitudeRange& b) { return a.west < b.west; });
    for (std::size_t i = 0; i < stretches_.size();) {
        LongitudeRange merged = stretches_[i];
        for (++i; i < stretches_.size() && stretches_[i].west <= merged.east; ++i)
            merged.east = std::max(merged.east, stretches_[i].east);
        AddRun(merged.west, merged.east);
    }
}

template <typename Take>
std::size_t RegionRows::TakeNorthOf(double south, std::size_t cursor, std::size_t end,
                                    const Take& take) const {
    const std::vector<GeoPoint>& points = region_.ChainPoints();
    constexpr std::size_t kSmallest = std::size(GeoRegion::kBlockPoints) - 1;
    while (cursor < end) {
        // A whole block north of the edge counts by its longitudes alone; a chain's latitude
        // never rises, so its last point tells.
        if (cursor % GeoRegion::kBlockPoints[kSmallest] == 0) {
            bool skipped = false;
            for (std::size_t size = 0; size <= kSmallest && !skipped; ++size) {
                const std::size_t block = GeoRegion::kBlockPoints[size];
                if (cursor % block == 0 && cursor + block <= end &&
                    points[cursor + block - 1].latitude > south) {
                    const LongitudeRange& range = region_.PointBlocks(size)[cursor / block];
                    take(range.west);
                    take(range.east);
                    cursor += block;
                    skipped = true;
                }
            }
            if (skipped)
                continue;
        }
        if (points[cursor].latitude <= south)
            break;
        take(points[cursor].longitude);
        ++cursor;
    }
    return cursor;
}

void RegionRows::AddRun(double west, double east) {
    // Column c spans [c * columnDegrees_ - 180, (c + 1) * columnDegrees_ - 180], exact in
    // double; the estimates are corrected against those edges so that touching counts.
    const auto edge = [&](std::int64_t column) {
        return static_cast<double>(column) * columnDegrees_ - 180;
    };
    const auto estimate = [&](double longitude) {
        const double column = std::floor((longitude + 180) / columnDegrees_);
        return static_cast<std::int64_t>(std::clamp(column, -1.0, double(columns_)));
    };
    std::int64_t first = estimate(west); // the westernmost column whose east edge >= west
    while (first > 0 && edge(first) >= west)
        --first;
    while (edge(first + 1) < west)
        ++first;
    std::int64_t last = estimate(east); // the easternmost column whose west edge <= east
    while (last < columns_ && edge(last + 1) <= east)
        ++last;
    while (last >= 0 && edge(last) > east)
        --last;
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, columns_ - 1);
    if (first > last)
        return;
    // Asked for from the west, a run may begin in the last one's column or the next.
    if (!runs_.empty() && first <= std::int64_t{runs_.back().last} + 1)
        runs_.back().last = std::max(runs_.back().last, static_cast<std::uint32_t>(last));
    else
        runs_.push_back({static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(last)});
}

std::int64_t CountRegionTiles(const GeoRegion& region, int level) {
    RegionRows rows(region, level);
    std::int64_t count = 0;
    while (rows.Next())
        for (const ColumnRun& run : rows.Runs())
            count += std::int64_t{run.last} - run.first + 1;
    return count;
}
