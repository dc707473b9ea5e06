// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace morvelin {

// What tells one version of a file from another without reading it: a photo replaced by another of
// the same size within the same second still differs in its inode or its change time.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    // The stamp of a regular file (links followed), or nothing when it is missing or not a file.
    static std::optional<FileStamp> of(const QString& path);

    bool operator==(const FileStamp&) const = default;
};

} // namespace morvelin
