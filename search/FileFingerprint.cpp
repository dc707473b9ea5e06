// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FileFingerprint.h"

#include "search/NativePath.h"


#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include <xxhash.h>

namespace morvelin {

namespace {

constexpr qsizetype fingerprintBytes = 16;

// The bytes at `offset`, all of them or nothing.
bool readAt(int fd, qint64 offset, std::vector<char>& buffer)
{
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t got = ::pread(fd, buffer.data() + done, buffer.size() - done, off_t(offset + qint64(done)));
        if (got <= 0) {
            return false;
        }
        done += std::size_t(got);
    }
    return true;
}

} // namespace

QByteArray FileFingerprint::of(const QString& path)
{
    const int fd = ::open(NativePath::encode(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return QByteArray();
    }
    struct stat info {};
    QByteArray fingerprint;
    XXH3_state_t* digest = XXH3_createState();
    if (digest && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        const qint64 size = info.st_size;
        const bool whole = size <= 2 * sampleBytes;
        XXH3_128bits_reset_withSeed(digest, XXH64_hash_t(size));
        std::vector<char> sample(std::size_t(whole ? size : sampleBytes));
        bool read = readAt(fd, 0, sample);
        XXH3_128bits_update(digest, sample.data(), sample.size());
        if (read && !whole) {
            read = readAt(fd, size - sampleBytes, sample);
            XXH3_128bits_update(digest, sample.data(), sample.size());
        }
        if (read) {
            XXH128_canonical_t canonical;
            XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(digest));
            fingerprint = QByteArray(reinterpret_cast<const char*>(canonical.digest), fingerprintBytes);
        }
    }
    XXH3_freeState(digest);
    ::close(fd);
    return fingerprint;
}

} // namespace morvelin
