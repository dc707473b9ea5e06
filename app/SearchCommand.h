#pragma once

#include "search/Matcher.h"

#include <QStringList>
#include <QTextStream>

namespace morvelin {

// `search --face PHOTO [--pick N] [--recursive] [--jobs N] [--memory-limit MB] [--matcher grid|features]
// [--no-index] [--verbose] [--json] FOLDER`: the whole search without a window. Prints the listed photos
// best first; progress and the summary go to standard error.
class SearchCommand {
public:
    static int run(const QStringList& operands, QTextStream& out, QTextStream& err);

    static constexpr int defaultMemoryLimitMb = 1024;

private:
    struct Options {
        QString facePhoto;
        int pick = 1;
        bool recursive = false;
        int jobs = 0;
        int memoryLimitMb = defaultMemoryLimitMb;
        bool verbose = false;
        bool useIndex = true;
        Matcher matcher = Matcher::Grid;
        bool json = false;
        QString folder;
    };

    static bool parse(const QStringList& operands, Options& options, QString& problem);
    [[noreturn]] static void endNow(int status);
};

} // namespace morvelin
