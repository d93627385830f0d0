// The panel content as a whole: the appearance setting and its popover, the header controls,
// and the card's colours. Runs against the real user settings in Qt's test location.
#include "game/game.h"
#include "panel/appearance_popover.h"
#include "panel/content.h"
#include "panel/header_button.h"
#include "panel/palette.h"
#include "platform/color_scheme.h"
#include "platform/fonts.h"
#include "platform/user_settings.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

using namespace zorvik;

namespace {
const QString key = QStringLiteral("appearance");

// What another process would read from the settings file.
QVariant storedOnDisk()
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Zorvik"),
                       QStringLiteral("zorvik"));
    return settings.value(key);
}

bool near(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) <= 2 && qAbs(a.green() - b.green()) <= 2 && qAbs(a.blue() - b.blue()) <= 2;
}
} // namespace

class TestContent : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void naturalSize();
    void choiceIsStoredAtOnceAndPopoverStaysOpen();
    void unknownStoredValueFollowsSystem_data();
    void unknownStoredValueFollowsSystem();
    void absentKeyShowsSystemAndWritesNothing();
    void secondClickOnControlCloses();
    void keepOnTopToggles();
    void hideTakesClicksAnywhereInItsFrame_data();
    void hideTakesClicksAnywhereInItsFrame();
    void cardColourFollowsAppearance_data();
    void cardColourFollowsAppearance();
    void cornersStayClear();

private:
    std::unique_ptr<Content> makeContent();
    HeaderButton *control(Content &content, const char *name);

    std::unique_ptr<Game> m_game;
    int m_hides = 0;
    QList<bool> m_pins;
};

void TestContent::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    Fonts::load();
    // The desktop's own answer must not arrive in the middle of a test.
    ColorScheme::shared().setPreference(ColorScheme::Preference::light);
    m_game = std::make_unique<Game>();
}

void TestContent::init()
{
    UserSettings::shared().remove(key);
    ColorScheme::shared().setPreference(ColorScheme::Preference::light);
    m_hides = 0;
    m_pins.clear();
}

std::unique_ptr<Content> TestContent::makeContent()
{
    auto content = std::make_unique<Content>(
        *m_game, [this] { ++m_hides; }, [this](bool pinned) { m_pins << pinned; });
    content->show();
    if (!QTest::qWaitForWindowExposed(content.get()))
        return nullptr;
    return content;
}

HeaderButton *TestContent::control(Content &content, const char *name)
{
    return content.findChild<HeaderButton *>(QString::fromLatin1(name));
}

void TestContent::naturalSize()
{
    auto content = makeContent();
    QVERIFY(content);
    QCOMPARE(content->width(), 300);
    // 4 + 32 header, 280 wheel, 32 message, 36 + 12 bets, 8 + hint text + 12.
    const int hintText = content->height() - (4 + 32 + 280 + 32 + 36 + 12 + 8 + 12);
    QVERIFY2(hintText >= 11 && hintText <= 20, qPrintable(QString::number(content->height())));
}

void TestContent::choiceIsStoredAtOnceAndPopoverStaysOpen()
{
    auto content = makeContent();
    QVERIFY(content);
    QTest::mouseClick(control(*content, "appearance"), Qt::LeftButton);
    AppearancePopover *popover = content->appearancePopover();
    QVERIFY(popover->isVisible());
    QVERIFY(content->appearanceOpen());

    auto *dark = popover->findChild<QRadioButton *>(QStringLiteral("dark"));
    QTest::mouseClick(dark, Qt::LeftButton);
    QCOMPARE(storedOnDisk(), QVariant(QStringLiteral("dark")));
    QVERIFY(content->effectiveDark());
    QVERIFY(isDarkAppearance(content.get()));
    QVERIFY(popover->isVisible());
    QVERIFY(dark->isChecked());

    QTest::mouseClick(popover->findChild<QRadioButton *>(QStringLiteral("system")), Qt::LeftButton);
    QCOMPARE(storedOnDisk(), QVariant(QStringLiteral("system")));
    QVERIFY(!isDarkAppearance(content.get()));

    // With "system" the panel follows the desktop as it changes.
    ColorScheme::shared().setPreference(ColorScheme::Preference::dark);
    QVERIFY(isDarkAppearance(content.get()));
    QTest::mouseClick(popover->findChild<QRadioButton *>(QStringLiteral("light")), Qt::LeftButton);
    QVERIFY(!isDarkAppearance(content.get()));
    QCOMPARE(storedOnDisk(), QVariant(QStringLiteral("light")));
    popover->close();
    QVERIFY(!content->appearanceOpen());
}

void TestContent::unknownStoredValueFollowsSystem_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("capitalised") << QStringLiteral("Dark");
    QTest::newRow("empty") << QString();
    QTest::newRow("padded") << QStringLiteral(" dark");
}

void TestContent::unknownStoredValueFollowsSystem()
{
    QFETCH(QString, stored);
    UserSettings::shared().setValue(key, stored);
    auto content = makeContent();
    QVERIFY(content);
    QVERIFY(!content->effectiveDark());
    ColorScheme::shared().setPreference(ColorScheme::Preference::dark);
    QVERIFY(content->effectiveDark());
    QVERIFY(isDarkAppearance(content.get()));

    QTest::mouseClick(control(*content, "appearance"), Qt::LeftButton);
    QVERIFY(content->appearancePopover()->isVisible());
    QCOMPARE(content->appearancePopover()->options()->checkedButton(), nullptr);
    QCOMPARE(storedOnDisk(), QVariant(stored));
}

void TestContent::absentKeyShowsSystemAndWritesNothing()
{
    auto content = makeContent();
    QVERIFY(content);
    QCOMPARE(content->appearance(), QStringLiteral("system"));
    QTest::mouseClick(control(*content, "appearance"), Qt::LeftButton);
    QAbstractButton *checked = content->appearancePopover()->options()->checkedButton();
    QVERIFY(checked);
    QCOMPARE(checked->objectName(), QStringLiteral("system"));
    QCOMPARE(checked->text(), QStringLiteral("System"));
    content->appearancePopover()->close();
    QVERIFY(!storedOnDisk().isValid());
}

void TestContent::secondClickOnControlCloses()
{
    auto content = makeContent();
    QVERIFY(content);
    HeaderButton *button = control(*content, "appearance");
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(content->appearancePopover()->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!content->appearancePopover()->isVisible());
    QVERIFY(!content->appearanceOpen());
    // And a third click opens it again.
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(content->appearancePopover()->isVisible());
    QVERIFY(content->appearanceOpen());
    content->appearancePopover()->close();
}

void TestContent::keepOnTopToggles()
{
    m_game->setPinned(true);
    auto content = makeContent();
    QVERIFY(content);
    HeaderButton *pin = control(*content, "pin");
    QCOMPARE(pin->size(), QSize(28, 32));
    QCOMPARE(pin->accessibleName(), QStringLiteral("Disable keep on top"));
    QCOMPARE(pin->backgroundOpacity(), 0.1);

    QTest::mouseClick(pin, Qt::LeftButton);
    QCOMPARE(m_pins, QList<bool>{false});
    QVERIFY(!m_game->pinned());
    QCOMPARE(pin->accessibleName(), QStringLiteral("Keep on top"));
    QCOMPARE(pin->toolTip(), QStringLiteral("Keep on top"));
    QCOMPARE(pin->backgroundOpacity(), 0.0);

    QTest::mouseClick(pin, Qt::LeftButton);
    QCOMPARE(m_pins, (QList<bool>{false, true}));
    QCOMPARE(pin->accessibleName(), QStringLiteral("Disable keep on top"));
    QCOMPARE(pin->toolTip(), QStringLiteral("Keep on top"));
}

void TestContent::hideTakesClicksAnywhereInItsFrame_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::newRow("top left corner") << QPoint(0, 0);
    QTest::newRow("glyph") << QPoint(22, 16);
    QTest::newRow("bottom right corner") << QPoint(43, 31);
    QTest::newRow("right edge, top") << QPoint(43, 1);
}

void TestContent::hideTakesClicksAnywhereInItsFrame()
{
    QFETCH(QPoint, at);
    auto content = makeContent();
    QVERIFY(content);
    HeaderButton *hide = control(*content, "hide");
    QCOMPARE(hide->size(), QSize(44, 32));
    QCOMPARE(hide->toolTip(), QStringLiteral("Hide \u2014 reopen from the menu bar"));
    QCOMPARE(hide->accessibleName(), QStringLiteral("Hide Zorvik"));
    QTest::mouseClick(hide, Qt::LeftButton, {}, at);
    QCOMPARE(m_hides, 1);
    // Just right of the frame lies the empty part of the band, which takes nothing.
    const QPoint outside = hide->mapTo(content.get(), QPoint(50, at.y()));
    QTest::mouseClick(content.get(), Qt::LeftButton, {}, outside);
    QCOMPARE(m_hides, 1);
}

void TestContent::cardColourFollowsAppearance_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << QStringLiteral("light") << false;
    QTest::newRow("dark") << QStringLiteral("dark") << true;
}

void TestContent::cardColourFollowsAppearance()
{
    QFETCH(QString, stored);
    QFETCH(bool, dark);
    // The desktop says the opposite; the setting wins.
    ColorScheme::shared().setPreference(dark ? ColorScheme::Preference::light : ColorScheme::Preference::dark);
    UserSettings::shared().setValue(key, stored);
    auto content = makeContent();
    QVERIFY(content);
    const QImage image = content->grab().toImage();
    // Left of the wheel, and below the hint: plain card.
    for (const QPoint at : {QPoint(4, 200), QPoint(150, image.height() - 4)}) {
        const QColor seen = image.pixelColor(at);
        QVERIFY2(near(seen, Palette::cream().resolve(dark)),
                 qPrintable(QStringLiteral("%1 at %2,%3").arg(seen.name()).arg(at.x()).arg(at.y())));
    }
}

void TestContent::cornersStayClear()
{
    auto content = makeContent();
    QVERIFY(content);
    // Drawn as a translucent window would: no window background under it.
    QImage image(content->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    content->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const int w = image.width() - 1;
    const int h = image.height() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
        QCOMPARE(image.pixelColor(corner).alpha(), 0);
    QCOMPARE(image.pixelColor(150, 2).alpha(), 255); // the card itself is opaque
}

QTEST_MAIN(TestContent)
#include "tst_content.moc"
