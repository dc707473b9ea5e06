// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/WinWelcome.h"

#include "app/AppIcon.h"
#include "app/Translate.h"
#include "base/ProgramNames.h"
#include "controls/LayoutUnits.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace morvelin {

namespace {

const QSize clientTwips(8955, 6735);
const QColor steelBlue(57, 105, 152);
const QColor checkBoxText(64, 64, 64);
constexpr double smallestPointSize = 7.0;

// The fonts the window was designed with, then look-alikes a Linux desktop is likely to have.
QFont heavyFont(double pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Black);
    return font;
}

QFont textFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QFont().family()});
    font.setPointSizeF(9.75);
    return font;
}

int twipsToPixels(int twips, int dotsPerInch)
{
    return qRound(LayoutUnits::pixels(twips, dotsPerInch));
}

// Wider fonts than the designed ones (or a longer translation) must not cut a text off at the
// label's bottom edge: the font gets smaller until the wrapped text fits.
void shrinkToFit(QLabel* label)
{
    QFont font = label->font();
    const QRect room(QPoint(0, 0), label->size());
    const int flags = int(label->alignment()) | Qt::TextWordWrap;
    while (font.pointSizeF() > smallestPointSize
           && QFontMetrics(font).boundingRect(room, flags, label->text()).height() > room.height()) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    label->setFont(font);
}

} // namespace

WinWelcome::WinWelcome(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_background(QStringLiteral(":/welcome/welcome-background.png"))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(AppIcon());
    setFixedSize(twipsToPixels(clientTwips.width(), logicalDpiX()), twipsToPixels(clientTwips.height(), logicalDpiY()));

    QPalette colours = palette();
    colours.setColor(QPalette::Window, steelBlue);
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);

    m_welc = addLabel("Welc", heavyFont(18), QRect(3120, 360, 5175, 615));
    m_faceRec = addLabel("FaceRec", textFont(), QRect(3120, 1080, 5655, 1695));
    m_noteTitle = addLabel("NoteTitle", heavyFont(11.25), QRect(3120, 2760, 5655, 495));
    m_pNote = addLabel("PNote", textFont(), QRect(3120, 3240, 5655, 1215));
    m_howtoStart = addLabel("HowtoStart", textFont(), QRect(3120, 4800, 5655, 1575));
    addShowNextTime();
    loadTexts();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

QLabel* WinWelcome::addLabel(const char* name, const QFont& font, const QRect& twips)
{
    auto* label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    placeInTwips(label, twips);
    return label;
}

void WinWelcome::addShowNextTime()
{
    m_showNextTime = new QCheckBox(this);
    m_showNextTime->setObjectName(QStringLiteral("ShowNextTime"));
    QPalette colours = m_showNextTime->palette();
    colours.setColor(QPalette::Window, Qt::white);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        colours.setColor(role, checkBoxText);
    }
    m_showNextTime->setPalette(colours);
    m_showNextTime->setBackgroundRole(QPalette::Window);
    m_showNextTime->setAutoFillBackground(true);
    m_showNextTime->setChecked(true);
    placeInTwips(m_showNextTime, QRect(0, 6480, 9015, 255));
    // Written at once: the user may never close this window before the session ends.
    connect(m_showNextTime, &QCheckBox::toggled, this, [](bool checked) { Settings::setShowTip(checked); });
}

void WinWelcome::loadTexts()
{
    setWindowTitle(ProgramNames::title());
    m_showNextTime->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Show this window everytime this software starts.")));
    m_howtoStart->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Welcome to ")) + ProgramNames::title() + QLatin1Char(' ')
                          + Translate(QT_TRANSLATE_NOOP("Morvelin", "to start using face search features, press F12 or click on "
                                                     "system tray icon when you have faces on screen. This software "
                                                     "will capture and detect all faces on screen at that time.")));
    m_faceRec->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "This is the first face search software in the world.")) + QLatin1Char('\n')
                       + Translate(QT_TRANSLATE_NOOP("Morvelin", "This software is based on Artificial Intelligence algorithms to detect "
                                                  "and compare human faces. Face morvelin permit to search faces in "
                                                  "your photo archive. ")));
    m_pNote->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "This is NOT a 100% accurate procedure, as you know there is a lot of "
                                              "factors that can give false positives. (Example: glasses, angle of the "
                                              "photo...)")));
    m_welc->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Welcome!")));
    m_noteTitle->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Please note:")));
    for (QLabel* label : {m_welc, m_faceRec, m_noteTitle, m_pNote, m_howtoStart}) {
        shrinkToFit(label);
    }
}

void WinWelcome::placeInTwips(QWidget* control, const QRect& twips) const
{
    const int left = twipsToPixels(twips.left(), logicalDpiX());
    const int top = twipsToPixels(twips.top(), logicalDpiY());
    // Edges rather than sizes, so neighbouring controls keep meeting where they met in twips.
    const int right = twipsToPixels(twips.left() + twips.width(), logicalDpiX());
    const int bottom = twipsToPixels(twips.top() + twips.height(), logicalDpiY());
    control->setGeometry(left, top, right - left, bottom - top);
}

void WinWelcome::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void WinWelcome::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

void WinWelcome::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), steelBlue);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_background);
}

} // namespace morvelin
