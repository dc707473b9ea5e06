// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>

class QCheckBox;

namespace morvelin {

// The main window's "Compare facial features (more accurate)": ticked at first start wherever the
// facial-features model can be used, then as the user left it (remembered in the settings). While
// the model cannot be used it is off and disabled, and its tooltip and fallbackNote() say why.
class MatcherChoice : public QObject {
    Q_OBJECT

public:
    MatcherChoice(QCheckBox* box, const QString& dataPath, QObject* parent = nullptr);

    // Looks at the model beside the detector's data file again.
    void setDataPath(const QString& dataPath);
    void loadTexts();
    bool featuresChosen() const;
    bool featuresUsable() const { return m_problem.isEmpty(); }
    // The name of the matcher a search started now compares with.
    QString matcherName() const;
    // For the status line: that searches compare by the grid because the model cannot be used; empty
    // when it can.
    QString fallbackNote() const;

private:
    QCheckBox* m_box;
    QString m_problem; // why the model cannot be used, empty when it can
};

} // namespace morvelin
