#pragma once
// The one network operation the program needs: GET a URL into a byte buffer.
#include "fetch/tile_cache.h"
#include "tiles/work_mode.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// The tiles a job asks for, in its order, one per call; nothing once there are no more.
using UpcomingTiles = std::function<std::optional<TileRequest>()>;

struct HttpFailure {
    int statusCode = 0; // 0 when no reply status was read
    QString statusText; // the status line without its first word, when there was one
    QString message;    // what went wrong, for diagnostics only
};

class HttpGet {
public:
    virtual ~HttpGet() = default;
    // Fetches url. On success returns nothing and body holds the final reply body alone;
    // otherwise returns the failure (body may then hold an error reply, to be discarded).
    virtual std::optional<HttpFailure> Get(const QString& url, QByteArray& body) = 0;
    // Between true and false (the tiles of one view): while the server has sent no byte at
    // all, the fetches share one wait of the usual length instead of waiting in turn.
    virtual void ShareSilentWait(bool on) { (void)on; }
    // From now on the tiles are asked for in the order of upcoming, with the loader in mode;
    // a client that fetches several tiles at once reads ahead along it, others ignore it. An
    // empty function ends it.
    virtual void Follow(UpcomingTiles upcoming, WorkMode mode) {
        (void)upcoming;
        (void)mode;
    }
};
