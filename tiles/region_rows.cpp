#include "tiles/region_rows.h"

#include <algorithm>
#include <cmath>

namespace {

// The latitude where the edge crosses the parallel, as a longitude.
double LongitudeAt(const RegionEdge& edge, double latitude) {
    if (latitude <= edge.southLatitude)
        return edge.southLongitude;
    if (latitude >= edge.northLatitude)
        return edge.northLongitude;
    const double t = (latitude - edge.southLatitude) / (edge.northLatitude - edge.southLatitude);
    return edge.southLongitude + t * (edge.northLongitude - edge.southLongitude);
}

} // namespace

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
    const double south = RowEdgeLatitude(level_, static_cast<double>(row_ + 1));
    rowNorth_ = south;
    const std::vector<RegionEdge>& edges = region_.EdgesFromNorth();
    while (nextEdge_ < edges.size() && edges[nextEdge_].northLatitude >= south)
        active_.push_back(nextEdge_++);

    spans_.clear();
    crossings_.clear();
    // The region's part in the row's band projects onto the same longitudes as its boundary
    // there: the edges within the band and where the region crosses the band's north edge.
    std::erase_if(active_, [&](std::size_t index) { return edges[index].southLatitude > north; });
    for (const std::size_t index : active_) {
        const RegionEdge& edge = edges[index];
        // An edge along a parallel lies in the band whole.
        const bool flat = edge.southLatitude == edge.northLatitude;
        const double a = flat ? edge.southLongitude : LongitudeAt(edge, south);
        const double b = flat ? edge.northLongitude : LongitudeAt(edge, north);
        spans_.emplace_back(std::min(a, b), std::max(a, b));
        if (edge.southLatitude <= north && north < edge.northLatitude)
            crossings_.push_back(LongitudeAt(edge, north));
    }
    std::sort(crossings_.begin(), crossings_.end());
    for (std::size_t i = 0; i + 1 < crossings_.size(); i += 2)
        spans_.emplace_back(crossings_[i], crossings_[i + 1]);
    std::sort(spans_.begin(), spans_.end());

    runs_.clear();
    double west = 0;
    double east = 0;
    bool open = false;
    for (const auto& [a, b] : spans_) {
        if (open && a <= east) {
            east = std::max(east, b);
            continue;
        }
        if (open)
            AddSpan(west, east);
        west = a;
        east = b;
        open = true;
    }
    if (open)
        AddSpan(west, east);
}

void RegionRows::AddSpan(double west, double east) {
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
    if (!runs_.empty() && first <= std::int64_t{runs_.back().last} + 1) {
        runs_.back().last = std::max(runs_.back().last, static_cast<std::uint32_t>(last));
        return;
    }
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
