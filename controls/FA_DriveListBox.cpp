// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "controls/FA_DriveListBox.h"

#include "controls/IndentedItemDelegate.h"
#include "controls/MountedDrives.h"
#include "controls/SystemPlaces.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>

namespace morvelin {

namespace {

// The program's translation of an entry's English name, where the program installed one; folder names
// of the user's own stay as they are.
QString shownText(const QString& english)
{
    return QCoreApplication::translate("Morvelin", english.toUtf8().constData());
}

constexpr int pixelsPerIndentLevel = 10;
constexpr int iconSize = 16;
const QLatin1Char separator('/');

bool isExistingFolder(const QString& tag)
{
    return QDir::isAbsolutePath(tag) && QFileInfo(tag).isDir();
}

QString browsedKey(int part)
{
    return QStringLiteral("%1_BROWSEDFOLDER").arg(part);
}

} // namespace

FA_DriveListBox::FA_DriveListBox(QWidget* parent)
    : FA_DriveListBox(SystemPlaces::list(), parent)
{
}

FA_DriveListBox::FA_DriveListBox(const std::vector<DrivePlace>& places, QWidget* parent)
    : QWidget(parent)
{
    createList();
    fill(places);
    selectDriveOfCurrentFolder();
    m_lastPath = SelPath();
}

void FA_DriveListBox::createList()
{
    m_cmb = new QComboBox(this);
    m_cmb->setObjectName(QStringLiteral("Cmb"));
    m_cmb->setIconSize(QSize(iconSize, iconSize));
    m_cmb->setItemDelegate(new IndentedItemDelegate(IndentRole, pixelsPerIndentLevel, m_cmb));
    // Long mount points must not widen the control; the host sets its width.
    m_cmb->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_cmb->setMinimumContentsLength(8);
    setFocusProxy(m_cmb);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(m_cmb, &QComboBox::activated, this, [this] { pick(); });
    fitHeight();
}

void FA_DriveListBox::fill(const std::vector<DrivePlace>& places)
{
    for (const DrivePlace& place : places) {
        m_cmb->addItem(place.icon, shownText(place.text));
        const int index = m_cmb->count() - 1;
        m_cmb->setItemData(index, place.tag, TagRole);
        m_cmb->setItemData(index, place.indent, IndentRole);
        m_cmb->setItemData(index, place.isDrive, DriveRole);
    }
    m_cmb->addItem(shownText(browseText()));
    const int last = m_cmb->count() - 1;
    m_cmb->setItemData(last, browseText(), TagRole);
    m_cmb->setItemData(last, 0, IndentRole);
    m_cmb->setItemData(last, false, DriveRole);
}

void FA_DriveListBox::selectDriveOfCurrentFolder()
{
    const QStringList parts = pathParts(QDir::currentPath());
    if (!parts.isEmpty()) {
        setSelPath(parts.first());
    }
}

QString FA_DriveListBox::SelText() const
{
    return m_cmb->currentText();
}

QString FA_DriveListBox::SelPath() const
{
    return tagAt(m_cmb->currentIndex());
}

void FA_DriveListBox::setSelPath(const QString& path)
{
    int index = indexOfTag(path, Qt::CaseSensitive);
    if (index < 0) {
        index = indexOfTag(path, Qt::CaseInsensitive);
    }
    if (index < 0) {
        return;
    }
    m_cmb->setCurrentIndex(index);
    m_lastPath = SelPath();
}

void FA_DriveListBox::UpdatePath(const QString& path)
{
    const QStringList parts = pathParts(path);
    // One repaint for the whole chain rather than one per removed and inserted entry.
    m_cmb->setUpdatesEnabled(false);
    removeBrowsedEntries();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        ++m_placedParts;
        if (i == 0) {
            setSelPath(parts[i]);
        } else {
            insertBrowsedEntry(parts[i]);
        }
    }
    m_cmb->setUpdatesEnabled(true);
    m_lastPath = SelPath();
}

// The drive root (with its trailing "/") and the folder names below it. A path that is not
// absolute is split as it is, its first part standing for a drive that will not be found.
QStringList FA_DriveListBox::pathParts(const QString& path) const
{
    if (!QDir::isAbsolutePath(path)) {
        QStringList parts = path.split(separator, Qt::SkipEmptyParts);
        if (!parts.isEmpty()) {
            parts.first() += separator;
        }
        return parts;
    }
    const QString cleaned = QDir::cleanPath(path);
    QStringList mountPoints;
    for (const QString& root : driveRoots()) {
        mountPoints << (root.size() > 1 && root.endsWith(separator) ? root.chopped(1) : root);
    }
    const QString drive = MountedDrives::driveOf(cleaned, mountPoints);
    const QString root = (drive.isEmpty() || drive == QLatin1String("/")) ? QStringLiteral("/") : drive + separator;
    const QString rest = drive.isEmpty() ? cleaned : cleaned.mid(drive.size());
    return QStringList{root} + rest.split(separator, Qt::SkipEmptyParts);
}

QStringList FA_DriveListBox::driveRoots() const
{
    QStringList roots;
    for (int i = 0; i < m_cmb->count(); ++i) {
        if (m_cmb->itemData(i, DriveRole).toBool()) {
            roots << tagAt(i);
        }
    }
    return roots;
}

void FA_DriveListBox::removeBrowsedEntries()
{
    for (int part = 2; part <= m_placedParts; ++part) {
        const int index = m_cmb->findData(browsedKey(part), KeyRole);
        if (index >= 0) {
            m_cmb->removeItem(index);
        }
    }
    m_placedParts = 0;
}

void FA_DriveListBox::insertBrowsedEntry(const QString& part)
{
    const int selected = m_cmb->currentIndex();
    QString tag = tagAt(selected);
    if (!tag.endsWith(separator)) {
        tag += separator;
    }
    tag += part;
    const int indent = selected >= 0 ? m_cmb->itemData(selected, IndentRole).toInt() + 1 : 0;
    const int at = selected + 1;
    m_cmb->insertItem(at, SystemPlaces::folderIcon(tag), part);
    m_cmb->setItemData(at, tag, TagRole);
    m_cmb->setItemData(at, indent, IndentRole);
    m_cmb->setItemData(at, browsedKey(m_placedParts), KeyRole);
    m_cmb->setItemData(at, false, DriveRole);
    m_cmb->setCurrentIndex(at);
}

void FA_DriveListBox::pick()
{
    if (m_clickEvent != 1 || isExistingFolder(SelPath())) {
        emit PathChange();
    }
    if (m_placedParts != 0 && SelPath() != browseText()) {
        UpdatePath(SelPath());
    }
    if (SelPath() != browseText()) {
        m_lastPath = SelPath();
        return;
    }
    emit Browse();
    // Nobody placed a folder (the dialog was cancelled, or nobody listens): keep the folder that
    // was chosen before, so the search never runs on "Browse...".
    if (SelPath() == browseText()) {
        setSelPath(m_lastPath);
    }
}

QString FA_DriveListBox::tagAt(int index) const
{
    if (index < 0) {
        return {};
    }
    return m_cmb->itemData(index, TagRole).toString();
}

int FA_DriveListBox::indexOfTag(const QString& tag, Qt::CaseSensitivity sensitivity) const
{
    for (int i = 0; i < m_cmb->count(); ++i) {
        if (tagAt(i).compare(tag, sensitivity) == 0) {
            return i;
        }
    }
    return -1;
}

QSize FA_DriveListBox::sizeHint() const
{
    return m_cmb->sizeHint();
}

QSize FA_DriveListBox::minimumSizeHint() const
{
    return m_cmb->minimumSizeHint();
}

void FA_DriveListBox::fitHeight()
{
    setFixedHeight(m_cmb->sizeHint().height());
    // A hidden control gets its resize event only when shown; the list must fit before that.
    m_cmb->setGeometry(0, 0, width(), height());
}

void FA_DriveListBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_cmb->setGeometry(0, 0, width(), height());
}

void FA_DriveListBox::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitHeight();
    }
}

} // namespace morvelin
