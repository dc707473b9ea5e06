// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QListWidget;
class QPushButton;

namespace morvelin {

class BackgroundIndexer;

// The watched folders as the user sees them: the list, Add... and Remove, and how far the indexing
// is. A change is stored in the settings and reaches the running indexer at once.
class WatchedFoldersDialog : public QDialog {
    Q_OBJECT

public:
    WatchedFoldersDialog(BackgroundIndexer& indexer, QWidget* parent = nullptr);

    // What Add... does once the folder dialog has given a folder.
    void addFolder(const QString& folder);
    void removeSelected();

    // "Indexing watched folders: 120 of 3,400 photos", "Watched folders are up to date", or empty
    // when no folder is watched.
    static QString statusText(const BackgroundIndexer& indexer);

private:
    void chooseFolder();
    void apply();
    void showFolders();
    void showStatus();

    BackgroundIndexer& m_indexer;
    QListWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QLabel* m_status = nullptr;
};

} // namespace morvelin
