// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FileStamp.h"

#include "search/NativePath.h"

#include <sys/stat.h>

namespace morvelin {

std::optional<FileStamp> FileStamp::of(const QString& path)
{
    struct stat info {};
    if (::stat(NativePath::encode(path).constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    constexpr std::int64_t nsPerSecond = 1000000000;
    FileStamp stamp;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedNs = std::int64_t(info.st_mtim.tv_sec) * nsPerSecond + info.st_mtim.tv_nsec;
    stamp.changedNs = std::int64_t(info.st_ctim.tv_sec) * nsPerSecond + info.st_ctim.tv_nsec;
    return stamp;
}

} // namespace morvelin
