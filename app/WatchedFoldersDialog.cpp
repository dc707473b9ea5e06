// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/WatchedFoldersDialog.h"

#include "app/BackgroundIndexer.h"
#include "app/Helpers.h"
#include "app/Translate.h"
#include "base/ProgramNames.h"
#include "platform/Settings.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvelin {

WatchedFoldersDialog::WatchedFoldersDialog(BackgroundIndexer& indexer, QWidget* parent)
    : QDialog(parent)
    , m_indexer(indexer)
    , m_list(new QListWidget(this))
    , m_add(new QPushButton(Translate(QT_TRANSLATE_NOOP("Morvelin", "Add...")), this))
    , m_remove(new QPushButton(Translate(QT_TRANSLATE_NOOP("Morvelin", "Remove")), this))
    , m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("WatchedFoldersDialog"));
    setWindowTitle(Translate(QT_TRANSLATE_NOOP("Morvelin", "Watched folders")) + QStringLiteral(" - ")
                   + ProgramNames::title());
    m_list->setObjectName(QStringLiteral("WatchedFolderList"));
    m_add->setObjectName(QStringLiteral("AddWatchedFolder"));
    m_remove->setObjectName(QStringLiteral("RemoveWatchedFolder"));
    m_status->setObjectName(QStringLiteral("WatchedFoldersStatus"));
    m_status->setWordWrap(true);

    auto* explanation = new QLabel(
        Translate(QT_TRANSLATE_NOOP("Morvelin", "While Face Morvelin runs, it keeps the photos in these folders "
                                                "indexed in the background, so that a search of them is answered "
                                                "at once.")),
        this);
    explanation->setWordWrap(true);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(m_list, 1);
    listRow->addLayout(buttons);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(listRow, 1);
    layout->addWidget(m_status);
    layout->addWidget(close);
    resize(520, 340);

    connect(m_add, &QPushButton::clicked, this, &WatchedFoldersDialog::chooseFolder);
    connect(m_remove, &QPushButton::clicked, this, &WatchedFoldersDialog::removeSelected);
    connect(m_list, &QListWidget::itemSelectionChanged, this,
            [this] { m_remove->setEnabled(!m_list->selectedItems().isEmpty()); });
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(&m_indexer, &BackgroundIndexer::statusChanged, this, &WatchedFoldersDialog::showStatus);
    showFolders();
    showStatus();
}

QString WatchedFoldersDialog::statusText(const BackgroundIndexer& indexer)
{
    const BackgroundIndexer::Status status = indexer.status();
    if (indexer.folders().isEmpty()) {
        return QString();
    }
    if (!status.working) {
        return Translate(QT_TRANSLATE_NOOP("Morvelin", "Watched folders are up to date"));
    }
    if (status.photosTotal == 0) {
        return Translate(QT_TRANSLATE_NOOP("Morvelin", "Indexing watched folders..."));
    }
    const QLocale locale;
    return Translate(QT_TRANSLATE_NOOP("Morvelin", "Indexing watched folders: %1 of %2 photos"))
        .arg(locale.toString(status.photosChecked), locale.toString(status.photosTotal));
}

void WatchedFoldersDialog::chooseFolder()
{
    const QString folder =
        BrowseFolder(this, Translate(QT_TRANSLATE_NOOP("Morvelin", "Choose folder")), false, QDir::homePath());
    if (!folder.isEmpty()) {
        addFolder(folder);
    }
}

void WatchedFoldersDialog::addFolder(const QString& folder)
{
    if (!Settings::watchFolder(folder)) {
        QMessageBox::warning(this, ProgramNames::title(),
                             Translate(QT_TRANSLATE_NOOP("Morvelin", "The watched folders could not be stored.")));
    }
    apply();
}

void WatchedFoldersDialog::removeSelected()
{
    for (const QListWidgetItem* item : m_list->selectedItems()) {
        Settings::unwatchFolder(item->text());
    }
    apply();
}

void WatchedFoldersDialog::apply()
{
    m_indexer.setFolders(Settings::watchedFolders());
    showFolders();
    showStatus();
}

void WatchedFoldersDialog::showFolders()
{
    m_list->clear();
    m_list->addItems(m_indexer.folders());
    m_remove->setEnabled(false);
}

void WatchedFoldersDialog::showStatus()
{
    const QString text = statusText(m_indexer);
    m_status->setText(text.isEmpty() ? Translate(QT_TRANSLATE_NOOP("Morvelin", "No folder is watched.")) : text);
}

} // namespace morvelin
