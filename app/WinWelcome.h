// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPixmap>
#include <QWidget>

class QCheckBox;
class QLabel;

namespace morvelin {

// The window shown at start while "ShowTip" is "1": what the program does, how to start a face
// search, and a check box that switches the window off for later starts.
class WinWelcome : public QWidget {
    Q_OBJECT

public:
    explicit WinWelcome(QWidget* parent = nullptr);

signals:
    // The window is closing, however it was closed; the main window comes up on this.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Esc and Enter close the window: it has only one way on.
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* addLabel(const char* name, const QFont& font, const QRect& twips);
    void addShowNextTime();
    void loadTexts();
    void placeInTwips(QWidget* control, const QRect& twips) const;

    QLabel* m_welc = nullptr;
    QLabel* m_faceRec = nullptr;
    QLabel* m_noteTitle = nullptr;
    QLabel* m_pNote = nullptr;
    QLabel* m_howtoStart = nullptr;
    QCheckBox* m_showNextTime = nullptr;
    QPixmap m_background;
};

} // namespace morvelin
