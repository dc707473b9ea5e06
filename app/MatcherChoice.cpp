// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/MatcherChoice.h"

#include "app/Translate.h"
#include "platform/Settings.h"
#include "search/FeaturesMatcher.h"
#include "search/GridMatcher.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QToolTip>

namespace morvelin {

namespace {

const QString featuresName = QString::fromLatin1(FeaturesMatcher::matcherName);
const QString gridName = QString::fromLatin1(GridMatcher::matcherName);

// Lines of about 400 pixels at the usual size: Qt would show a plain tooltip on one line as wide as
// the screen, over the buttons below the check box, and squeeze a rich-text one into a narrow column.
QString wrapped(const QString& text)
{
    const QFontMetrics metrics(QToolTip::font());
    const int width = 66 * metrics.averageCharWidth();
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
                lines << line;
                line = word;
            } else {
                line = longer;
            }
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

MatcherChoice::MatcherChoice(QCheckBox* box, const QString& dataPath, QObject* parent)
    : QObject(parent)
    , m_box(box)
{
    connect(m_box, &QCheckBox::clicked, this,
            [](bool checked) { Settings::setMatcher(checked ? featuresName : gridName); });
    setDataPath(dataPath);
}

void MatcherChoice::setDataPath(const QString& dataPath)
{
    m_problem = FeaturesMatcher::problemWith(dataPath);
    m_box->setEnabled(featuresUsable());
    // Nothing stored yet: the person gets the matcher that recognises people.
    const QString stored = Settings::matcher();
    m_box->setChecked(featuresUsable() && (stored.isEmpty() || stored == featuresName));
    loadTexts();
}

void MatcherChoice::loadTexts()
{
    // On two lines, the remark in brackets on the second: the column is too narrow for one.
    m_box->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Compare facial features (more accurate)"))
                       .replace(QStringLiteral(" ("), QStringLiteral("\n(")));
    m_box->setToolTip(wrapped(
        featuresUsable()
            ? Translate(QT_TRANSLATE_NOOP("Morvelin", "Compares the shape of eyes, nose and mouth: finds the same "
                                                      "person more reliably, a little slower. Without the tick, "
                                                      "faces are compared by their light and dark patches, which "
                                                      "often matches strangers."))
            : Translate(QT_TRANSLATE_NOOP("Morvelin", "Not available: the file for comparing facial features "
                                                      "cannot be used."))
                + QLatin1Char('\n') + m_problem));
}

bool MatcherChoice::featuresChosen() const
{
    return featuresUsable() && m_box->isChecked();
}

QString MatcherChoice::matcherName() const
{
    return featuresChosen() ? featuresName : gridName;
}

QString MatcherChoice::fallbackNote() const
{
    if (featuresUsable()) {
        return QString();
    }
    return Translate(QT_TRANSLATE_NOOP("Morvelin", "The facial-features model cannot be used: faces are compared as "
                                                   "brightness grids."));
}

} // namespace morvelin
