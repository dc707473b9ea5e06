// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/VerbHelp.h"

#include "app/CommandLine.h"
#include "app/SearchCommand.h"
#include "base/ProgramNames.h"
#include "search/FaceQuery.h"
#include "search/MatcherRegistry.h"

#include <vector>

namespace morvelin {

namespace {

constexpr qsizetype lineWidth = 79;
constexpr qsizetype optionColumn = 24;
constexpr qsizetype verbColumn = 12;
constexpr qsizetype statusColumn = 9;

struct Option {
    QString name; // with its arguments: "--out DIR"
    QString text;
};

struct Verb {
    QString name;
    QString usage; // after the program's name
    QString description;
    std::vector<Option> options;
};

const Option helpOption{QStringLiteral("-h, --help"), QStringLiteral("show this text")};

QString matcherNames()
{
    QStringList names = MatcherRegistry::names();
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

std::vector<Verb> verbTable()
{
    return {
        {QStringLiteral("compare"),
         QStringLiteral("compare A B"),
         QStringLiteral("Compare two face pictures as they are; print distance, score and xscore."),
         {}},
        {QStringLiteral("faces"),
         QStringLiteral("faces PHOTO [--out DIR [--matcher NAME]]"),
         QStringLiteral("Find the faces in a photo; print index, x1, x2, y1 and y2 per face."),
         {{QStringLiteral("--out DIR"),
           QStringLiteral("write each face's 48 x 48 thumbnail (face_N.png), the picture the grid compares "
                          "(compared_N.png) and, with the features matcher, the aligned face (aligned_N.png)")},
          {QStringLiteral("--matcher NAME"),
           QStringLiteral("the matcher the written faces are for: %1 (the default is features where its "
                          "model can be used)")
               .arg(matcherNames())}}},
        {QStringLiteral("search"),
         QStringLiteral("search --face PHOTO [--pick N]... [OPTION]... FOLDER"),
         QStringLiteral("Search FOLDER for a person: xscore and path of each match, best first."),
         {{QStringLiteral("--face PHOTO"),
           QStringLiteral("a photo of the person, up to %1 of them").arg(FaceQuery::largestPerson)},
          {QStringLiteral("--pick N"), QStringLiteral("take face N of the --face before it (default 1)")},
          {QStringLiteral("--recursive"), QStringLiteral("search the sub-folders too")},
          {QStringLiteral("--jobs N"), QStringLiteral("scan at most N photos at once (default: one per core)")},
          {QStringLiteral("--matcher NAME"),
           QStringLiteral("compare faces with %1: features by facial features (the default), grid by their "
                          "48 x 48 brightness grids")
               .arg(matcherNames())},
          {QStringLiteral("--threshold PERCENT"),
           QStringLiteral("list photos with a face scoring PERCENT or more (default %1)")
               .arg(SearchCommand::defaultThresholdPercent)},
          {QStringLiteral("--memory-limit MB"),
           QStringLiteral("the memory the photos scanned at once share (default %1)")
               .arg(SearchCommand::defaultMemoryLimitMb)},
          {QStringLiteral("--no-index"), QStringLiteral("neither read nor write the face index")},
          {QStringLiteral("--index FILE"),
           QStringLiteral("use the face index FILE (one kept next to the photos, say); only read when it "
                          "cannot be written")},
          {QStringLiteral("--verbose"), QStringLiteral("name what could not be read, and why")},
          {QStringLiteral("--json"),
           QStringLiteral("print the query and every listed photo as JSON (docs/search-json.schema.json)")}}},
        {QStringLiteral("inspect"),
         QStringLiteral("inspect IMAGE --out DIR [--size W H] [--scale N]"),
         QStringLiteral("Write the engine's grid, edges, traces and histograms of IMAGE as PNGs."),
         {{QStringLiteral("--out DIR"), QStringLiteral("the folder for the pictures, made when missing")},
          {QStringLiteral("--size W H"), QStringLiteral("the grid's width and height (default 48 48)")},
          {QStringLiteral("--scale N"),
           QStringLiteral("pixels per grid cell, 1 to 100 (default 10, fewer for large grids)")}}},
        {QStringLiteral("identify"),
         QStringLiteral("identify --gallery DIR [--json] IMAGE"),
         QStringLiteral("Name the face picture in DIR nearest to IMAGE; print name and distance."),
         {{QStringLiteral("--gallery DIR"),
           QStringLiteral("the face pictures, each named by its file name without the extension")},
          {QStringLiteral("--json"), QStringLiteral("print an array of objects with \"name\" and \"distance\"")}}},
        {QStringLiteral("index"),
         QStringLiteral("index [--index FILE] --stats | --clear | --prune | --list | --watch FOLDER | --unwatch FOLDER | --update FOLDER..."),
         QStringLiteral("Print what the face index holds, empty it, prune it, or keep folders indexed."),
         {{QStringLiteral("--stats"), QStringLiteral("print what the index holds")},
          {QStringLiteral("--clear"), QStringLiteral("empty the index and remove its damaged copies")},
          {QStringLiteral("--prune"),
           QStringLiteral("remove the entries of photos that no longer exist (those on a disk that is not "
                          "plugged in are kept)")},
          {QStringLiteral("--index FILE"), QStringLiteral("the face index FILE instead of the usual one")},
          {QStringLiteral("--list"), QStringLiteral("print the watched folders, one a line")},
          {QStringLiteral("--watch FOLDER"),
           QStringLiteral("add FOLDER to the folders the tray program keeps indexed")},
          {QStringLiteral("--unwatch FOLDER"), QStringLiteral("take FOLDER off the watched folders")},
          {QStringLiteral("--update FOLDER..."),
           QStringLiteral("bring the index up to date for each FOLDER and its sub-folders")}}},
    };
}

// The words of `text` in lines of at most lineWidth, each after `column` spaces but the first.
QString wrapped(const QString& text, qsizetype column)
{
    QString lines;
    qsizetype used = column;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        if (used > column && used + 1 + word.size() > lineWidth) {
            lines += QLatin1Char('\n') + QString(column, QLatin1Char(' '));
            used = column;
        } else if (used > column) {
            lines += QLatin1Char(' ');
            ++used;
        }
        lines += word;
        used += word.size();
    }
    return lines;
}

// "  --opt ARG   text"; an option too long for its column has its text on the next line.
QString optionLines(const Option& option, qsizetype column = optionColumn)
{
    QString head = QStringLiteral("  ") + option.name;
    QString lines;
    if (head.size() + 2 > column) {
        lines = head + QLatin1Char('\n');
        head.clear();
    }
    return lines + head.leftJustified(column) + wrapped(option.text, column) + QLatin1Char('\n');
}

QString optionsSection(const std::vector<Option>& options)
{
    QString text = QStringLiteral("\nOptions:\n");
    for (const Option& option : options) {
        text += optionLines(option);
    }
    return text;
}

} // namespace

QStringList VerbHelp::verbs()
{
    QStringList names;
    for (const Verb& verb : verbTable()) {
        names << verb.name;
    }
    return names;
}

QString VerbHelp::of(const QString& name)
{
    for (Verb& verb : verbTable()) {
        if (verb.name == name) {
            verb.options.push_back(helpOption);
            return QStringLiteral("Usage: %1 %2\n%3\n").arg(ProgramNames::executable(), verb.usage, verb.description)
                + optionsSection(verb.options);
        }
    }
    return QString();
}

QString VerbHelp::general()
{
    const QString program = ProgramNames::executable();
    QString text = QStringLiteral("Usage: %1 [--capture | --face PHOTO]\n").arg(program);
    std::vector<Option> verbs;
    for (const Verb& verb : verbTable()) {
        text += QStringLiteral("  or:  %1 %2\n").arg(program, verb.usage);
        QString summary = verb.description;
        summary[0] = summary[0].toLower();
        summary.chop(1);
        verbs.push_back({verb.name, summary});
    }
    text += QStringLiteral("Find a face in your photo folders; without a verb, start in the system tray.\n");
    text += QStringLiteral("\nVerbs:\n");
    for (const Option& verb : verbs) {
        text += optionLines(verb, verbColumn);
    }
    text += optionsSection({
        {QStringLiteral("--capture"),
         QStringLiteral("capture the screen and look for faces, in the running program (started first when "
                        "none runs)")},
        {QStringLiteral("--face PHOTO"),
         QStringLiteral("show the faces of PHOTO in the running program's gallery (started first when none "
                        "runs); an absolute path alone, as a desktop hands it over, means the same")},
        helpOption,
        {QStringLiteral("--version"), QStringLiteral("show the version")},
    });
    text += QStringLiteral("\nRun '%1 VERB --help' for what a verb takes.\n").arg(program);
    text += QStringLiteral("\nExit status:\n");
    for (const Option& status : std::vector<Option>{
             {QString::number(CommandLine::exitOk), QStringLiteral("success, a search with or without matches")},
             {QString::number(CommandLine::exitNothingFound),
              QStringLiteral("a photo shows no face, or not the face --pick asks for")},
             {QString::number(CommandLine::exitUsage),
              QStringLiteral("wrong usage, or a file or folder that cannot be read")},
             {QString::number(CommandLine::exitNoDescriptors), QStringLiteral("too few files may be open to search")},
             {QString::number(CommandLine::exitOutputFailed), QStringLiteral("the output could not be written")},
             {QStringLiteral("128+N"),
              QStringLiteral("a search cut short by signal N; %1 also when the output's reader closed the pipe")
                  .arg(CommandLine::exitOutputClosed)},
         }) {
        text += optionLines(status, statusColumn);
    }
    return text;
}

} // namespace morvelin
