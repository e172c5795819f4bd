#pragma once

namespace zebrune {

// Stores `value` in `member` when they differ; tells whether it did.
template<typename T> bool storeIfChanged(T &member, const T &value)
{
    if (member == value)
        return false;
    member = value;
    return true;
}

} // namespace zebrune
