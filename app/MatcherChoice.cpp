#include "app/MatcherChoice.h"

#include "app/Translate.h"
#include "platform/Settings.h"
#include "search/FaceFeatures.h"
#include "search/Matcher.h"

#include <QCheckBox>

namespace morvelin {

MatcherChoice::MatcherChoice(QCheckBox* box, const QString& dataPath, QObject* parent)
    : QObject(parent)
    , m_box(box)
{
    connect(m_box, &QCheckBox::clicked, this, [](bool checked) {
        Settings::setMatcher(matcherName(checked ? Matcher::Features : Matcher::Grid));
    });
    setDataPath(dataPath);
}

void MatcherChoice::setDataPath(const QString& dataPath)
{
    m_problem = FaceFeatures::forFile(FaceFeatures::pathBeside(dataPath)).error;
    m_box->setEnabled(featuresUsable());
    m_box->setChecked(featuresUsable() && Settings::matcher() == matcherName(Matcher::Features));
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

} // namespace morvelin
