#pragma once

#include <QStringList>

#include <functional>

namespace vx {
class Connection;
}

namespace app {

// The sales window's three article pick lists: every own code, description and origin code.
struct ArticleLists {
    QStringList codes;
    QStringList descriptions;
    QStringList origins;
};

// Reads the lists, each through its column's index so that the sorted lists arrive in order and
// need no sorting afterwards. `progress` runs now and then with the row number reached in a list.
ArticleLists readArticleLists(vx::Connection &connection, const std::function<void(int)> &progress = {});

}  // namespace app
