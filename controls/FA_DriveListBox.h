// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "controls/DrivePlace.h"

#include <QString>
#include <QWidget>

#include <vector>

class QComboBox;

namespace morvelin {

// The drop-down list the user picks the folder to search from: the desktop's places, the drives,
// the folders on the desktop and "Browse...". A folder chosen elsewhere is placed in the list with
// UpdatePath as a chain of indented entries under its drive. The picker opens no dialog itself: the
// host answers PathChange (or Browse) on "Browse..." with its folder dialog and then UpdatePath.
class FA_DriveListBox : public QWidget {
    Q_OBJECT
public:
    enum Role { TagRole = Qt::UserRole, IndentRole, KeyRole, DriveRole };

    // Filled with this desktop's places.
    explicit FA_DriveListBox(QWidget* parent = nullptr);
    explicit FA_DriveListBox(const std::vector<DrivePlace>& places, QWidget* parent = nullptr);

    static QString browseText() { return QString::fromUtf8(QT_TRANSLATE_NOOP("Morvelin", "Browse...")); }

    // 1: PathChange only for entries that are existing folders; anything else: on every pick.
    int ClickEvent() const { return m_clickEvent; }
    void setClickEvent(int clickEvent) { m_clickEvent = clickEvent; }

    // Font is the widget's own font (QWidget::font and QWidget::setFont).

    QString SelText() const;
    QString SelPath() const;
    // Selects the first entry whose tag is path, preferring the exact spelling over a match that
    // differs only in case; no match leaves the selection alone.
    void setSelPath(const QString& path);

    void UpdatePath(const QString& path);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void PathChange();
    void Browse();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createList();
    void fill(const std::vector<DrivePlace>& places);
    void selectDriveOfCurrentFolder();
    void pick();
    QStringList pathParts(const QString& path) const;
    QStringList driveRoots() const;
    void removeBrowsedEntries();
    void insertBrowsedEntry(const QString& part);
    QString tagAt(int index) const;
    int indexOfTag(const QString& tag, Qt::CaseSensitivity sensitivity) const;
    void fitHeight();

    QComboBox* m_cmb = nullptr;
    int m_clickEvent = 0;
    int m_placedParts = 0; // of the last UpdatePath, the drive counting as the first
    QString m_lastPath; // the selection before the user's current pick
};

} // namespace morvelin
