// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FaceQuery.h"
#include "search/SourcePicture.h"

#include <QStringList>
#include <QTextStream>

#include <memory>
#include <vector>

namespace morvelin {

// `search --face PHOTO [--pick N] [--face PHOTO [--pick N]]... [--recursive] [--jobs N] [--memory-limit MB]
// [--matcher NAME] [--threshold PERCENT] [--no-index] [--verbose] [--json] FOLDER`: the whole search
// without a window. Prints the listed photos best first; progress and the summary go to standard error.
class SearchCommand {
public:
    static int run(const QStringList& operands, QTextStream& out, QTextStream& err);

    static constexpr int defaultMemoryLimitMb = 1024;
    static constexpr int defaultThresholdPercent = 70;

    // One face of the person searched for: face `pick` (from 1) of `photo`.
    struct QueryPhoto {
        QString photo;
        int pick = 1;
    };

private:
    struct Options {
        std::vector<QueryPhoto> faces;
        bool recursive = false;
        int jobs = 0;
        int memoryLimitMb = defaultMemoryLimitMb;
        bool verbose = false;
        bool useIndex = true;
        QString indexPath; // --index: a face index kept elsewhere
        QString matcher; // empty: the default
        std::int64_t thresholdTenThousandths = FaceScore::defaultThresholdTenThousandths;
        bool json = false;
        QString folder;
    };

    static bool parse(const QStringList& operands, Options& options, QString& problem);
    static bool readFaces(const class VerbArguments& arguments, Options& options, QString& problem);
    // The matcher the search compares with, the default one saying so when it falls back.
    static std::unique_ptr<FaceMatcher> chooseMatcher(const Options& options, const QString& dataPath, QTextStream& err);
    // Each face of the person as a scan finds it, read by `matcher`; an exit status other than exitOk
    // when one cannot be had, its message written to `err`.
    static int readPerson(const Options& options, const QString& dataPath, const FaceMatcher& matcher,
                          std::vector<FoundFace>& person, std::vector<SourcePicture::Result>& found, QTextStream& err);
    // The photos scanned at once: --jobs or one per core, as many as the open files allow; 0, said
    // on `err`, when not even one fits.
    static int scansAtOnce(const Options& options, QTextStream& err);
    [[noreturn]] static void endNow(int status);
};

} // namespace morvelin
