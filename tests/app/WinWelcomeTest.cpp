#include "app/WinWelcome.h"

#include "platform/Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using namespace morvelin;

namespace {

// German texts are chosen once per process: "german" runs this program again to print them.
const char* const childVariable = "MORVELIN_WELCOME_CHILD";
const char* const labelNames[] = {"Welc", "FaceRec", "NoteTitle", "PNote", "HowtoStart"};

const QString howtoStart = QStringLiteral(
    "Welcome to Face Morvelin to start using face search features, press F12 or click on system tray icon when you "
    "have faces on screen. This software will capture and detect all faces on screen at that time.");
const QString faceRec = QStringLiteral(
    "This is the first face search software in the world.\nThis software is based on Artificial Intelligence "
    "algorithms to detect and compare human faces. Face morvelin permit to search faces in your photo archive. ");
const QString pNote = QStringLiteral(
    "This is NOT a 100% accurate procedure, as you know there is a lot of factors that can give false positives. "
    "(Example: glasses, angle of the photo...)");

QLabel* label(QWidget& window, const char* name)
{
    return window.findChild<QLabel*>(QLatin1String(name));
}

QCheckBox* showNextTime(QWidget& window)
{
    return window.findChild<QCheckBox*>(QStringLiteral("ShowNextTime"));
}

bool textFits(const QLabel* label)
{
    const QRect room(QPoint(0, 0), label->size());
    return QFontMetrics(label->font()).boundingRect(room, int(label->alignment()) | Qt::TextWordWrap, label->text())
               .height()
        <= room.height();
}

QRect pixelsOf(const QWidget& window, int left, int top, int width, int height)
{
    const auto x = [&](int twips) { return qRound(twips * window.logicalDpiX() / 1440.0); };
    const auto y = [&](int twips) { return qRound(twips * window.logicalDpiY() / 1440.0); };
    return QRect(QPoint(x(left), y(top)), QPoint(x(left + width) - 1, y(top + height) - 1));
}

int printGermanTexts(int argc, char* argv[])
{
    QApplication application(argc, argv);
    WinWelcome window;
    for (const char* name : labelNames) {
        QLabel* each = label(window, name);
        const QString oneLine = QString(each->text()).replace(QLatin1Char('\n'), QLatin1String("\\n"));
        std::printf("%s\t%d\t%s\n", name, textFits(each) ? 1 : 0, oneLine.toUtf8().constData());
    }
    std::printf("ShowNextTime\t1\t%s\n", showNextTime(window)->text().toUtf8().constData());
    return 0;
}

class WinWelcomeTest : public testing::Test {
protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_store.path());
        m_window = std::make_unique<WinWelcome>();
    }

    QString storedText() const
    {
        QFile file(m_store.path() + QStringLiteral("/Face Morvelin/Face Morvelin.conf"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("(nothing)");
    }

    QTemporaryDir m_store;
    std::unique_ptr<WinWelcome> m_window;
};

} // namespace

TEST_F(WinWelcomeTest, ShowsEveryTextAsWrittenWhenTranslationsReturnTheirInput)
{
    WinWelcome& window = *m_window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Face Morvelin"));
    EXPECT_EQ(label(window, "Welc")->text(), QStringLiteral("Welcome!"));
    EXPECT_EQ(label(window, "NoteTitle")->text(), QStringLiteral("Please note:"));
    EXPECT_EQ(label(window, "FaceRec")->text(), faceRec);
    EXPECT_EQ(label(window, "PNote")->text(), pNote);
    EXPECT_EQ(label(window, "HowtoStart")->text(), howtoStart);
    EXPECT_TRUE(label(window, "HowtoStart")->text().startsWith(QStringLiteral("Welcome to Face Morvelin to start")));
    EXPECT_EQ(showNextTime(window)->text(), QStringLiteral("Show this window everytime this software starts."));
    EXPECT_TRUE(showNextTime(window)->isChecked());
    for (const char* name : labelNames) {
        EXPECT_TRUE(textFits(label(window, name))) << name;
    }
}

TEST_F(WinWelcomeTest, ControlsStandWhereTheyWereDesignedInTwips)
{
    WinWelcome& window = *m_window;
    EXPECT_EQ(window.size(), pixelsOf(window, 0, 0, 8955, 6735).size());
    EXPECT_EQ(label(window, "Welc")->geometry(), pixelsOf(window, 3120, 360, 5175, 615));
    EXPECT_EQ(label(window, "FaceRec")->geometry(), pixelsOf(window, 3120, 1080, 5655, 1695));
    EXPECT_EQ(label(window, "NoteTitle")->geometry(), pixelsOf(window, 3120, 2760, 5655, 495));
    EXPECT_EQ(label(window, "PNote")->geometry(), pixelsOf(window, 3120, 3240, 5655, 1215));
    EXPECT_EQ(label(window, "HowtoStart")->geometry(), pixelsOf(window, 3120, 4800, 5655, 1575));
    EXPECT_EQ(showNextTime(window)->geometry(), pixelsOf(window, 0, 6480, 9015, 255));
    if (window.logicalDpiX() == 96 && window.logicalDpiY() == 96) {
        EXPECT_EQ(window.size(), QSize(597, 449));
        EXPECT_EQ(label(window, "Welc")->geometry(), QRect(208, 24, 345, 41));
    }
    EXPECT_EQ(label(window, "Welc")->font().families().value(0), QStringLiteral("Arial Black"));
    EXPECT_EQ(label(window, "Welc")->font().weight(), QFont::Black);
    EXPECT_DOUBLE_EQ(label(window, "Welc")->font().pointSizeF(), 18.0);
    EXPECT_DOUBLE_EQ(label(window, "NoteTitle")->font().pointSizeF(), 11.25);
}

TEST_F(WinWelcomeTest, WhiteTextsOnThePictureAndAWhiteCheckBoxStrip)
{
    WinWelcome& window = *m_window;
    window.show();
    const QImage shot = window.grab().toImage();
    const double ratio = shot.devicePixelRatio();
    const auto at = [&](int x, int y) { return shot.pixelColor(int(x * ratio), int(y * ratio)); };
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(57, 105, 152));
    EXPECT_EQ(label(window, "PNote")->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(showNextTime(window)->palette().color(QPalette::WindowText), QColor(64, 64, 64));
    // The strip's right end, past the text: plain white.
    EXPECT_EQ(at(window.width() - 3, showNextTime(window)->geometry().center().y()), QColor(Qt::white));
    // Blue all over the text side, and the picture's photos on the left.
    const QColor textSide = at(window.width() - 10, 10);
    EXPECT_GT(textSide.blue(), textSide.red() + 40);
    int lightPixels = 0;
    for (int y = 40; y < 400; y += 4) {
        lightPixels += at(100, y).lightness() > 200 ? 1 : 0;
    }
    EXPECT_GT(lightPixels, 5);
}

TEST_F(WinWelcomeTest, TheCheckBoxWritesTheSettingAtOnce)
{
    WinWelcome& window = *m_window;
    window.show();
    QCheckBox* box = showNextTime(window);
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(storedText(), QStringLiteral("[Welcome]\nShowTip=0\n"));
    EXPECT_FALSE(Settings::showWelcome());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(storedText(), QStringLiteral("[Welcome]\nShowTip=1\n"));
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(storedText(), QStringLiteral("[Welcome]\nShowTip=0\n"));
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WinWelcomeTest, ClosingAsksForTheMainWindowAndLeavesTheSettingAlone)
{
    QPointer<WinWelcome> window = m_window.release();
    int closes = 0;
    QObject::connect(window, &WinWelcome::closed, [&closes] { ++closes; });
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(storedText(), QStringLiteral("(nothing)"));
    QTest::qWait(50);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST(WinWelcomeGermanTest, GermanTextsFitTheirPlaces)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("de"));
    environment.insert(QString::fromLatin1(childVariable), QStringLiteral("german"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    ASSERT_TRUE(child.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6) << child.readAllStandardError().toStdString();
    for (const QString& line : lines) {
        EXPECT_EQ(line.section(QLatin1Char('\t'), 1, 1), QStringLiteral("1")) << line.toStdString() << " is cut off";
    }
    // Every piece found in the phrase book: the program asks for exactly the texts it has.
    const auto shown = [&lines](int line) { return lines.at(line).section(QLatin1Char('\t'), 2); };
    EXPECT_EQ(shown(0), QStringLiteral("Willkommen!"));
    EXPECT_TRUE(shown(1).startsWith(QStringLiteral("Dies ist die erste Software zur Gesichtssuche der Welt.\\nDiese "
                                                   "Software erkennt")))
        << shown(1).toStdString();
    EXPECT_EQ(shown(2), QStringLiteral("Bitte beachten Sie:"));
    EXPECT_TRUE(shown(3).startsWith(QStringLiteral("Dieses Verfahren ist NICHT"))) << shown(3).toStdString();
    EXPECT_TRUE(shown(4).startsWith(QStringLiteral("Willkommen bei Face Morvelin – um die Gesichtssuche")))
        << shown(4).toStdString();
    EXPECT_EQ(shown(5), QStringLiteral("Dieses Fenster bei jedem Start der Software anzeigen."));
}

int main(int argc, char* argv[])
{
    // Listing the tests at build time happens without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    if (qEnvironmentVariable(childVariable) == QLatin1String("german")) {
        return printGermanTexts(argc, argv);
    }
    // Translations that return their input: the English texts exactly as the program writes them.
    qputenv("LC_ALL", "C");
    qputenv("LANGUAGE", "");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
