#pragma once

#include <QStringList>
#include <QTextStream>

namespace morvelin {

// `faces PHOTO [--out DIR]`: the faces of a chosen photo in the detector's order, as the gallery
// would show them; --out writes their 48 x 48 thumbnails.
class FacesCommand {
public:
    static int run(const QStringList& operands, QTextStream& out, QTextStream& err);

private:
    struct Options {
        QString photo;
        QString outFolder;
    };

    static bool parse(const QStringList& operands, Options& options, QString& problem);
};

} // namespace morvelin
