#pragma once

#include <QObject>
#include <QString>

class QCheckBox;

namespace morvelin {

// The main window's "Compare facial features (more accurate)": remembered in the settings, and off
// and disabled, saying why in its tooltip, while the facial-features model cannot be used.
class MatcherChoice : public QObject {
    Q_OBJECT

public:
    MatcherChoice(QCheckBox* box, const QString& dataPath, QObject* parent = nullptr);

    // Looks at the model beside the detector's data file again.
    void setDataPath(const QString& dataPath);
    void loadTexts();
    bool featuresChosen() const;
    bool featuresUsable() const { return m_problem.isEmpty(); }

private:
    QCheckBox* m_box;
    QString m_problem; // why the model cannot be used, empty when it can
};

} // namespace morvelin
