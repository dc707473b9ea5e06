#include "controls/ButtonPainter.h"
#include "controls/FlatButton.h"

#include <QCursor>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <array>
#include <vector>

using morvelin::ButtonPainter;
using morvelin::FlatButton;

namespace {

constexpr int W = 115;
constexpr int H = 25;

QString rgbAt(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return QStringLiteral("%1/%2/%3").arg(c.red()).arg(c.green()).arg(c.blue());
}

// A window with the button under test and a second button to take the focus away.
class FlatButtonTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_window.resize(300, 80);
        m_button = new FlatButton(QStringLiteral("&Search"), &m_window);
        m_button->setGeometry(20, 20, W, H);
        m_other = new FlatButton(QStringLiteral("&Other"), &m_window);
        m_other->setGeometry(160, 20, W, H);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
        m_other->setFocus();
        // Qt drops a move to where the pointer already is, and the last test may have left it on the button.
        QTest::mouseMove(m_window.windowHandle(), QPoint(5, 5));
        QCoreApplication::processEvents();
    }

    QPoint inWindow(QPoint p) const { return m_button->mapTo(&m_window, p); }
    void moveTo(QPoint p) { QTest::mouseMove(m_window.windowHandle(), inWindow(p)); }
    void press(QPoint p) { QTest::mousePress(m_window.windowHandle(), Qt::LeftButton, {}, inWindow(p)); }
    void release(QPoint p) { QTest::mouseRelease(m_window.windowHandle(), Qt::LeftButton, {}, inWindow(p)); }
    void key(QEvent::Type type, int key, bool autoRepeat = false)
    {
        QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString(),
                        autoRepeat);
        QCoreApplication::sendEvent(m_button, &event);
    }
    QImage picture() const { return m_button->grab().toImage(); }

    QWidget m_window;
    FlatButton* m_button = nullptr;
    FlatButton* m_other = nullptr;
    const QPoint m_inside{W / 2, H / 2};
    const QPoint m_outside{W + 20, H / 2};
};

struct StateColours {
    int state;
    const char* border;
    const char* lineY1;
    const char* lineY2;
    const char* lineH3; // the face where the state draws no such line
    const char* lineH2;
    const char* outer;
    const char* edge;
    const char* inner;
};

const std::array<StateColours, 5> stateColours{{
    {0, "201/199/186", "247/247/239", "247/247/239", "245/244/234", "245/244/234", "196/177/140", "206/199/189",
     "196/177/140"},
    {1, "0/60/116", "255/255/255", "254/254/254", "226/223/214", "214/208/197", "33/85/132", "123/150/173",
     "82/125/165"},
    {2, "0/60/116", "206/231/255", "189/215/247", "140/174/231", "107/130/239", "33/85/132", "123/150/173",
     "82/125/165"},
    {3, "0/60/116", "255/243/206", "255/219/140", "255/178/49", "230/150/0", "33/85/132", "123/150/173",
     "82/125/165"},
    {4, "0/60/116", "231/227/222", "231/227/222", "191/199/202", "231/227/222", "33/85/132", "123/150/173",
     "82/125/165"},
}};

const std::array<const char*, 5> frameTop{nullptr, "252/252/251", "189/211/247", "225/223/156", nullptr};

void expectTableColours(const QImage& image, const StateColours& s)
{
    SCOPED_TRACE(testing::Message() << "state " << s.state);
    ASSERT_EQ(image.size(), QSize(W, H));
    EXPECT_EQ(rgbAt(image, W / 2, 0), s.border);
    EXPECT_EQ(rgbAt(image, 0, H / 2), s.border);
    EXPECT_EQ(rgbAt(image, W / 2, H - 1), s.border);
    EXPECT_EQ(rgbAt(image, W - 1, H / 2), s.border);
    for (int x : {2, W / 2, W - 3}) {
        EXPECT_EQ(rgbAt(image, x, 1), s.lineY1) << "x " << x;
        EXPECT_EQ(rgbAt(image, x, 2), s.lineY2) << "x " << x;
        EXPECT_EQ(rgbAt(image, x, H - 3), s.lineH3) << "x " << x;
        EXPECT_EQ(rgbAt(image, x, H - 2), s.lineH2) << "x " << x;
    }
    // Each corner: two edge pixels, two outer ones beyond them, one inner pixel diagonally in.
    for (const auto& [x, y, dx, dy] : std::array<std::array<int, 4>, 4>{
             {{0, 0, 1, 1}, {W - 1, 0, -1, 1}, {0, H - 1, 1, -1}, {W - 1, H - 1, -1, -1}}}) {
        SCOPED_TRACE(testing::Message() << "corner " << x << "," << y);
        EXPECT_EQ(rgbAt(image, x, y + dy), s.edge);
        EXPECT_EQ(rgbAt(image, x + dx, y), s.edge);
        EXPECT_EQ(rgbAt(image, x, y + 2 * dy), s.outer);
        EXPECT_EQ(rgbAt(image, x + 2 * dx, y), s.outer);
        EXPECT_EQ(rgbAt(image, x + dx, y + dy), s.inner);
    }
    if (s.state == 0 || s.state == 4) {
        const char* face = s.state == 0 ? "245/244/234" : "231/227/222";
        EXPECT_EQ(rgbAt(image, 1, H / 2), face);
        EXPECT_EQ(rgbAt(image, W - 2, 3), face);
        return;
    }
    // The frame gradient starts in its top colour on row 3; the inner face starts at 252/252/251.
    EXPECT_EQ(rgbAt(image, 1, 3), frameTop[s.state]);
    EXPECT_EQ(rgbAt(image, W - 2, 3), frameTop[s.state]);
    EXPECT_EQ(rgbAt(image, 4, 3), "252/252/251");
    // One step above the inner face's bottom row (19 steps from 252/252/251 to 236/235/230).
    EXPECT_EQ(rgbAt(image, 4, H - 4), "237/236/231");
}

TEST_F(FlatButtonTest, EveryStateDrawsTheColoursOfItsTable)
{
    EXPECT_EQ(m_button->state(), ButtonPainter::Normal);
    expectTableColours(picture(), stateColours[1]);

    m_button->setFocus();
    EXPECT_EQ(m_button->state(), ButtonPainter::Focused);
    expectTableColours(picture(), stateColours[2]);

    moveTo(m_inside);
    EXPECT_EQ(m_button->state(), ButtonPainter::Hot);
    expectTableColours(picture(), stateColours[3]);

    press(m_inside);
    EXPECT_EQ(m_button->state(), ButtonPainter::Pressed);
    expectTableColours(picture(), stateColours[4]);
    release(m_inside);

    m_button->setEnabled(false);
    EXPECT_EQ(m_button->state(), ButtonPainter::Disabled);
    expectTableColours(picture(), stateColours[0]);
}

TEST_F(FlatButtonTest, FocusRectangleIsDottedInsideTheBorderOnlyWithFocus)
{
    const auto dots = [](const QImage& image) {
        int count = 0;
        for (int x = 3; x < W - 3; ++x) {
            count += rgbAt(image, x, 3) == QLatin1String("0/0/0") ? 1 : 0;
        }
        return count;
    };
    m_button->setDisplayAsDefault(true);
    EXPECT_EQ(m_button->state(), ButtonPainter::Focused) << "a default button draws focused";
    EXPECT_EQ(dots(picture()), 0) << "but without the focus rectangle";
    m_button->setDisplayAsDefault(false);
    m_button->setFocus();
    const QImage focused = picture();
    EXPECT_EQ(dots(focused), 55); // every other pixel of x 3..W-4 on row 3
    EXPECT_EQ(rgbAt(focused, 3, 3), "0/0/0");

    m_button->setFocusRect(false);
    EXPECT_EQ(dots(picture()), 0);
}

TEST_F(FlatButtonTest, PressLeaveReleaseRaisesNoClick)
{
    QSignalSpy clicks(m_button, &FlatButton::Click);
    moveTo(m_inside);
    moveTo(m_outside);
    EXPECT_EQ(m_button->state(), ButtonPainter::Normal) << "leaving without focus";
    moveTo(m_inside);
    press(m_inside);
    moveTo(m_outside);
    EXPECT_EQ(m_button->state(), ButtonPainter::Focused);
    release(m_outside);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(m_button->state(), ButtonPainter::Focused);

    // Back in and released over the button it is a click.
    moveTo(m_inside);
    press(m_inside);
    release(m_inside);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(m_button->state(), ButtonPainter::Hot);

    QSignalSpy doubleClicks(m_button, &FlatButton::DblClick);
    QTest::mouseDClick(m_window.windowHandle(), Qt::LeftButton, {}, inWindow(m_inside));
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(doubleClicks.count(), 1);
}

TEST_F(FlatButtonTest, SpaceHeldAndReleasedRaisesExactlyOneClick)
{
    QSignalSpy clicks(m_button, &FlatButton::Click);
    m_button->setFocus();
    key(QEvent::KeyPress, Qt::Key_Space);
    EXPECT_EQ(m_button->state(), ButtonPainter::Pressed);
    // A held key repeats as release and press pairs.
    for (int i = 0; i < 3; ++i) {
        key(QEvent::KeyRelease, Qt::Key_Space, true);
        key(QEvent::KeyPress, Qt::Key_Space, true);
    }
    EXPECT_EQ(clicks.count(), 0);
    key(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(m_button->state(), ButtonPainter::Focused);

    // Space is ignored while the mouse holds the button.
    moveTo(m_inside);
    press(m_inside);
    key(QEvent::KeyPress, Qt::Key_Space);
    key(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    release(m_inside);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(FlatButtonTest, EnterClicksOnKeyDownAndArrowsMoveTheFocus)
{
    QSignalSpy clicks(m_button, &FlatButton::Click);
    m_button->setFocus();
    QTest::keyPress(m_button, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyRelease(m_button, Qt::Key_Return);

    QTest::keyClick(m_button, Qt::Key_Right);
    EXPECT_TRUE(m_other->hasFocus());
    EXPECT_EQ(m_button->state(), ButtonPainter::Normal);
    QTest::keyClick(m_other, Qt::Key_Up);
    EXPECT_TRUE(m_button->hasFocus());
}

TEST_F(FlatButtonTest, DisablingWhileHoveredDrawsDisabledAndReenablingDrawsHot)
{
    moveTo(m_inside);
    ASSERT_EQ(m_button->state(), ButtonPainter::Hot);
    m_button->setEnabled(false);
    EXPECT_EQ(m_button->state(), ButtonPainter::Disabled);
    m_button->setEnabled(true);
    EXPECT_EQ(m_button->state(), ButtonPainter::Hot);
}

TEST_F(FlatButtonTest, AccessKeySkipsDoubledAmpersandsClicksAndFollowsTheCaption)
{
    EXPECT_EQ(FlatButton::accessKeyOf(QStringLiteral("Rock &&& Roll")), QStringLiteral(" "));
    EXPECT_EQ(FlatButton::accessKeyOf(QStringLiteral("Go&")), QString());
    EXPECT_EQ(FlatButton::accessKeyOf(QStringLiteral("A && B")), QString());

    QSignalSpy clicks(m_button, &FlatButton::Click);
    m_button->setCaption(QStringLiteral("Save && &Exit"));
    EXPECT_EQ(m_button->accessKey(), QStringLiteral("e"));
    QTest::keyClick(&m_window, Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(&m_window, Qt::Key_S, Qt::AltModifier); // the old key is released
    EXPECT_EQ(clicks.count(), 1);

    m_button->setEnabled(false);
    QTest::keyClick(&m_window, Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(FlatButtonTest, WindowActivationFollowsTheParentWindow)
{
    QSignalSpy activations(m_button, &FlatButton::FormActivate);
    m_button->setFocus();
    ASSERT_EQ(m_button->state(), ButtonPainter::Focused);

    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&m_window, &deactivate);
    EXPECT_EQ(m_button->state(), ButtonPainter::Normal);
    // An inactive window's button does not light up under the mouse.
    moveTo(m_inside);
    EXPECT_EQ(m_button->state(), ButtonPainter::Normal);

    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&m_window, &activate);
    EXPECT_EQ(m_button->state(), ButtonPainter::Hot);
    ASSERT_EQ(activations.count(), 2);
    EXPECT_EQ(activations[0][0].toInt(), 0);
    EXPECT_EQ(activations[1][0].toInt(), 1);
}

TEST(FlatButtonPlacement, NewButtonsTakeOkCancelApplyThenTheirName)
{
    QWidget window;
    std::vector<FlatButton*> buttons;
    for (int i = 0; i < 4; ++i) {
        buttons.push_back(new FlatButton(&window));
    }
    EXPECT_EQ(buttons[0]->Caption(), QStringLiteral("&OK"));
    EXPECT_EQ(buttons[1]->Caption(), QStringLiteral("&Cancel"));
    EXPECT_EQ(buttons[2]->Caption(), QStringLiteral("&Apply"));
    EXPECT_EQ(buttons[3]->Caption(), QStringLiteral("FlatButton4"));
    buttons[0]->setCaption(QStringLiteral("Search"));
    EXPECT_EQ((new FlatButton(&window))->Caption(), QStringLiteral("&OK"));
}

TEST_F(FlatButtonTest, KeepsAtLeastHundredTwipsAndSnapsTheMouseToItsMiddle)
{
    m_button->resize(2, 3);
    const int least = (100 * m_button->logicalDpiY() + 1439) / 1440;
    EXPECT_GE(m_button->height(), least);
    EXPECT_GE(m_button->width(), least);

    m_button->resize(W, H);
    m_button->SnapMouseTo();
    // 57.5 and 12.5 round to the even neighbour.
    EXPECT_EQ(QCursor::pos(), m_button->mapToGlobal(QPoint(58, 12)));
}

} // namespace
