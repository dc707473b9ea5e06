// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/Translate.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <mutex>

namespace morvelin {

namespace {

constexpr QLatin1String translationFolder(":/i18n");
constexpr QLatin1String translationPrefix("face-morvelin_");

// Walks the user's languages in order of preference. QTranslator::load(QLocale, ...) would skip
// English, for which no file exists, and pick the next language a user listed only as a fallback.
bool loadUserLanguage(QTranslator& translator)
{
    const QStringList languages = QLocale().uiLanguages();
    for (QString language : languages) {
        language.replace(QLatin1Char('-'), QLatin1Char('_'));
        if (QLocale(language).language() == QLocale::English) {
            return false;
        }
        if (translator.load(translationPrefix + language, QString(translationFolder))) {
            return true;
        }
    }
    return false;
}

// The texts of Qt's own dialogs (the folder and file dialogs, message box buttons) in the language the
// program speaks, from the system's Qt translations when they are installed.
void installQtTranslation(const QString& language, QCoreApplication* application)
{
    auto* qtTranslator = new QTranslator;
    qtTranslator->moveToThread(application->thread());
    if (!qtTranslator->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qtTranslator;
        return;
    }
    QCoreApplication::installTranslator(qtTranslator);
}

// Lives until the process ends: windows keep asking for texts up to the very last moment.
QTranslator* programTranslator()
{
    static std::mutex mutex;
    static QTranslator* translator = nullptr;
    const std::lock_guard lock(mutex);
    if (translator != nullptr) {
        return translator;
    }
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        return nullptr;
    }
    translator = new QTranslator;
    translator->moveToThread(application->thread());
    if (loadUserLanguage(*translator)) {
        QCoreApplication::installTranslator(translator);
        installQtTranslation(translator->language(), application);
    }
    return translator;
}

} // namespace

void InstallTranslations()
{
    programTranslator();
}

QString Translate(const QString& english)
{
    QTranslator* translator = programTranslator();
    if (translator == nullptr) {
        return QString();
    }
    if (translator->isEmpty()) {
        return english;
    }
    const QString translated = translator->translate(TranslationContext, english.toUtf8().constData());
    return translated.isEmpty() ? english : translated;
}

} // namespace morvelin
