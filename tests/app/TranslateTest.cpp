// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/Translate.h"
#include "TestChild.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QMap>
#include <QProcess>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cstdio>

using namespace morvelin;

namespace {

// The translator is chosen once per process, so each language is tried in a fresh copy of this
// program: the child prints "English<TAB>shown text" for every text of the phrase book.
const char* const childVariable = "MORVELIN_TRANSLATE_CHILD";
const QString installedProbe = QStringLiteral("@installed");
const QString beforeApplicationProbe = QStringLiteral("@before-application");
const QString notInPhraseBook = QStringLiteral("Face Morvelin");

struct Phrase {
    QString context, source, translation, translationType;
};

QList<Phrase> readPhraseBook(QString* error = nullptr)
{
    QFile file(QStringLiteral(MORVELIN_TRANSLATIONS_TS));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QList<Phrase> phrases;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            phrases.append(Phrase{context, {}, {}, {}});
        } else if (xml.name() == QLatin1String("source")) {
            phrases.last().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            phrases.last().translationType = xml.attributes().value(QLatin1String("type")).toString();
            phrases.last().translation = xml.readElementText();
        }
    }
    if (error != nullptr && xml.hasError()) {
        *error = xml.errorString();
    }
    return phrases;
}

void printShown(const QString& english, const QString& shown)
{
    std::fputs((english + QLatin1Char('\t') + shown + QLatin1Char('\n')).toUtf8().constData(), stdout);
}

int runChildScenario(const QString& scenario, int argc, char* argv[])
{
    if (scenario == QLatin1String("no-application")) {
        printShown(beforeApplicationProbe, Translate(QStringLiteral("Stop")));
    }
    QCoreApplication application(argc, argv);
    if (scenario.startsWith(QLatin1String("default:"))) {
        QLocale::setDefault(QLocale(scenario.section(QLatin1Char(':'), 1)));
    }
    for (const Phrase& phrase : readPhraseBook()) {
        printShown(phrase.source, Translate(phrase.source));
    }
    printShown(notInPhraseBook, Translate(notInPhraseBook));
    printShown(installedProbe, QCoreApplication::translate(TranslationContext, "Stop"));
    return 0;
}

const TestChild translateChild(childVariable, runChildScenario);

// What a user with this locale environment sees for every text.
QMap<QString, QString> shownTexts(const QString& scenario, const QString& locale, const QString& languages = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_MESSAGES", "LC_CTYPE", "LC_NUMERIC", "LC_TIME", "LC_COLLATE", "LC_MONETARY"}) {
        environment.remove(QString::fromLatin1(name));
    }
    environment.insert(QStringLiteral("LANG"), locale);
    environment.insert(QStringLiteral("LC_ALL"), locale);
    environment.insert(QStringLiteral("LANGUAGE"), languages);
    environment.insert(QString::fromLatin1(childVariable), scenario);

    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    child.waitForFinished(30000);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();

    QMap<QString, QString> shown;
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.contains(QLatin1Char('\t'))) {
            shown.insert(line.section(QLatin1Char('\t'), 0, 0), line.section(QLatin1Char('\t'), 1));
        }
    }
    return shown;
}

void expectGerman(const QMap<QString, QString>& shown, const std::string& who)
{
    const QList<Phrase> phrases = readPhraseBook();
    ASSERT_EQ(shown.size(), phrases.size() + 2) << who;
    for (const Phrase& phrase : phrases) {
        EXPECT_EQ(shown.value(phrase.source), phrase.translation) << who << ": " << phrase.source.toStdString();
    }
    EXPECT_EQ(shown.value(notInPhraseBook), notInPhraseBook) << who;
    EXPECT_EQ(shown.value(installedProbe), QStringLiteral("Anhalten")) << who << ": translator installed";
}

void expectEnglish(const QMap<QString, QString>& shown, const std::string& who)
{
    const QList<Phrase> phrases = readPhraseBook();
    ASSERT_EQ(shown.size(), phrases.size() + 2) << who;
    for (const Phrase& phrase : phrases) {
        EXPECT_EQ(shown.value(phrase.source), phrase.source) << who;
    }
}

} // namespace

// Whether every text is there and translated is the phrase book check's (lupdate on a copy); here, what
// the program joins names and numbers to must keep its edges in German.
TEST(TranslateTest, GermanTextsKeepTheEdgesTheProgramJoinsTo)
{
    const QList<Phrase> phrases = readPhraseBook();
    ASSERT_FALSE(phrases.isEmpty());
    for (const Phrase& phrase : phrases) {
        const std::string source = phrase.source.toStdString();
        for (const QString& edge : {QStringLiteral(" "), QStringLiteral("..."), QStringLiteral(":")}) {
            EXPECT_EQ(phrase.translation.endsWith(edge), phrase.source.endsWith(edge)) << source;
        }
    }
}

TEST(TranslateTest, GermanUsersGetGermanOthersTheEnglishTextAndTheProgramsLocaleWins)
{
    expectGerman(shownTexts(QStringLiteral("system"), QStringLiteral("de_DE.UTF-8")), "de_DE");
    expectGerman(shownTexts(QStringLiteral("system"), QStringLiteral("fr_FR.UTF-8"), QStringLiteral("fr:de")),
                 "French reader who also reads German");
    expectEnglish(shownTexts(QStringLiteral("system"), QStringLiteral("fr_FR.UTF-8")), "fr_FR");
    expectEnglish(shownTexts(QStringLiteral("system"), QStringLiteral("en_GB.UTF-8"), QStringLiteral("en_GB:de")),
                  "English first, German as a fallback");
    expectGerman(shownTexts(QStringLiteral("default:de_DE"), QStringLiteral("fr_FR.UTF-8")), "default de_DE");
    expectEnglish(shownTexts(QStringLiteral("default:en_US"), QStringLiteral("de_DE.UTF-8")), "default en_US");
}

TEST(TranslateTest, TextsAreEmptyUntilAnApplicationExists)
{
    const QMap<QString, QString> shown = shownTexts(QStringLiteral("no-application"), QStringLiteral("de_DE.UTF-8"));
    ASSERT_TRUE(shown.contains(beforeApplicationProbe));
    EXPECT_EQ(shown.value(beforeApplicationProbe), QString());
    EXPECT_EQ(shown.value(QStringLiteral("Stop")), QStringLiteral("Anhalten")) << "tried again once it exists";
}
