#include "app/MatcherChoice.h"

#include "app/Translate.h"
#include "platform/Settings.h"
#include "search/FeaturesMatcher.h"
#include "search/GridMatcher.h"

#include <QCheckBox>

namespace morvelin {

namespace {

const QString featuresName = QString::fromLatin1(FeaturesMatcher::matcherName);
const QString gridName = QString::fromLatin1(GridMatcher::matcherName);

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
    m_box->setToolTip(
        featuresUsable()
            ? Translate(QT_TRANSLATE_NOOP("Morvelin", "Compares the faces by the features a face recognition model "
                                                      "reads from them, so the same person is found under other "
                                                      "light and framing. Unchecked, faces are compared as "
                                                      "48 x 48 brightness grids."))
            : Translate(QT_TRANSLATE_NOOP("Morvelin", "Not available: the facial-features model cannot be used."))
                + QLatin1Char('\n') + m_problem);
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
