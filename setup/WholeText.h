#pragma once

#include "setup/Installer.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

// The room the installer's callers traditionally give a value; longer ones are asked again.
inline constexpr std::uint32_t usualRoom = 260;

// Reads a text value whole through a call that fills a buffer of a given room: first with the
// usual room, again with the length the call reports when the value did not fit. Nothing when
// the call fails, or when the value keeps growing between two calls.
template<typename Call> std::optional<std::string> readWhole(Call call)
{
    std::string buffer(usualRoom, '\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        auto size = static_cast<std::uint32_t>(buffer.size());
        const std::uint32_t answer = call(buffer.data(), &size);
        if (answer == result::success) {
            buffer.resize(std::min<std::size_t>(size, buffer.size() - 1));
            return buffer;
        }
        if (answer != result::moreData)
            return std::nullopt;
        buffer.assign(std::size_t{size} + 1, '\0');
    }
    return std::nullopt;
}

inline std::optional<std::string> readProperty(Installer &installer, InstallerHandle install, const std::string &name)
{
    return readWhole(
        [&](char *buffer, std::uint32_t *size) { return installer.property(install, name.c_str(), buffer, size); });
}

} // namespace quillon
