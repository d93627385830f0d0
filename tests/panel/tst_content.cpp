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
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Zorvik"), QStringLiteral("zorvik"))
        .value(key);
}

void setDesktopDark(bool dark)
{
    ColorScheme::shared().setPreference(dark ? ColorScheme::Preference::dark : ColorScheme::Preference::light);
}

} // namespace

class TestContent : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        Fonts::load();
        setDesktopDark(false); // the desktop's own answer must not arrive mid-test
        m_game = std::make_unique<Game>();
    }
    void init()
    {
        UserSettings::shared().remove(key);
        setDesktopDark(false);
        m_hides = 0;
        m_pins.clear();
    }

    void naturalSize()
    {
        auto content = makeContent();
        QCOMPARE(content->width(), 300);
        // 4 + 32 header, 280 wheel, 32 message, 36 + 12 bets, 8 + hint text + 12.
        const int hintText = content->height() - (4 + 32 + 280 + 32 + 36 + 12 + 8 + 12);
        QVERIFY2(hintText >= 11 && hintText <= 20, qPrintable(QString::number(content->height())));
    }

    void choiceIsStoredAtOnceAndPopoverStaysOpen()
    {
        auto content = makeContent();
        AppearancePopover *popover = openPopover(*content);
        QVERIFY(content->appearanceOpen());

        QRadioButton *dark = radio(*popover, "dark");
        QTest::mouseClick(dark, Qt::LeftButton);
        QCOMPARE(storedOnDisk(), QVariant(QStringLiteral("dark")));
        QVERIFY(content->effectiveDark() && isDarkAppearance(content.get()));
        QVERIFY(popover->isVisible() && dark->isChecked());

        QTest::mouseClick(radio(*popover, "system"), Qt::LeftButton);
        QCOMPARE(storedOnDisk(), QVariant(QStringLiteral("system")));
        QVERIFY(!isDarkAppearance(content.get()));
        // With "system" the panel follows the desktop as it changes.
        setDesktopDark(true);
        QVERIFY(isDarkAppearance(content.get()));

        QTest::mouseClick(radio(*popover, "light"), Qt::LeftButton);
        QVERIFY(!isDarkAppearance(content.get()));
        QCOMPARE(storedOnDisk(), QVariant(QStringLiteral("light")));
        popover->close();
        QVERIFY(!content->appearanceOpen());
    }

    // Anything but the three known values follows the desktop, checks no option, and stays stored.
    void unknownStoredValueFollowsSystem_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("capitalised") << QStringLiteral("Dark");
        QTest::newRow("empty") << QString();
        QTest::newRow("padded") << QStringLiteral(" dark");
    }
    void unknownStoredValueFollowsSystem()
    {
        QFETCH(QString, stored);
        UserSettings::shared().setValue(key, stored);
        auto content = makeContent();
        QVERIFY(!content->effectiveDark());
        setDesktopDark(true);
        QVERIFY(content->effectiveDark() && isDarkAppearance(content.get()));
        QCOMPARE(openPopover(*content)->options()->checkedButton(), nullptr);
        QCOMPARE(storedOnDisk(), QVariant(stored));
    }

    void absentKeyShowsSystemAndWritesNothing()
    {
        auto content = makeContent();
        QCOMPARE(content->appearance(), QStringLiteral("system"));
        AppearancePopover *popover = openPopover(*content);
        QAbstractButton *checked = popover->options()->checkedButton();
        QVERIFY(checked);
        QCOMPARE(checked->objectName(), QStringLiteral("system"));
        QCOMPARE(checked->text(), QStringLiteral("System"));
        popover->close();
        QVERIFY(!storedOnDisk().isValid());
    }

    void controlClicksToggleThePopover()
    {
        auto content = makeContent();
        HeaderButton *button = control(*content, "appearance");
        for (const bool open : {true, false, true}) {
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(content->appearancePopover()->isVisible(), open);
            QCOMPARE(content->appearanceOpen(), open);
        }
        content->appearancePopover()->close();
    }

    void keepOnTopToggles()
    {
        m_game->setPinned(true);
        auto content = makeContent();
        HeaderButton *pin = control(*content, "pin");
        QCOMPARE(pin->size(), QSize(28, 32));
        QCOMPARE(pin->toolTip(), QStringLiteral("Keep on top"));
        QCOMPARE(pin->accessibleName(), QStringLiteral("Disable keep on top"));
        QCOMPARE(pin->backgroundOpacity(), 0.1);

        QTest::mouseClick(pin, Qt::LeftButton);
        QCOMPARE(m_pins, QList<bool>{false});
        QVERIFY(!m_game->pinned());
        QCOMPARE(pin->accessibleName(), QStringLiteral("Keep on top"));
        QCOMPARE(pin->backgroundOpacity(), 0.0);

        QTest::mouseClick(pin, Qt::LeftButton);
        QCOMPARE(m_pins, (QList<bool>{false, true}));
        QCOMPARE(pin->accessibleName(), QStringLiteral("Disable keep on top"));
        QCOMPARE(pin->toolTip(), QStringLiteral("Keep on top"));
    }

    void hideTakesClicksAnywhereInItsFrame()
    {
        auto content = makeContent();
        HeaderButton *hide = control(*content, "hide");
        QCOMPARE(hide->size(), QSize(44, 32));
        QCOMPARE(hide->toolTip(), QStringLiteral("Hide \u2014 reopen from the menu bar"));
        QCOMPARE(hide->accessibleName(), QStringLiteral("Hide Zorvik"));
        const QList<QPoint> inside{{0, 0}, {22, 16}, {43, 31}, {43, 1}};
        for (const QPoint at : inside)
            QTest::mouseClick(hide, Qt::LeftButton, {}, at);
        QCOMPARE(m_hides, inside.size());
        // Just right of the frame lies the empty part of the band, which takes nothing.
        QTest::mouseClick(content.get(), Qt::LeftButton, {}, hide->mapTo(content.get(), QPoint(50, 16)));
        QCOMPARE(m_hides, inside.size());
    }

    // The setting wins over a desktop that says the opposite.
    void cardColourFollowsAppearance_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void cardColourFollowsAppearance()
    {
        QFETCH(bool, dark);
        setDesktopDark(!dark);
        UserSettings::shared().setValue(key, dark ? QStringLiteral("dark") : QStringLiteral("light"));
        auto content = makeContent();
        const QImage image = content->grab().toImage();
        const QColor cream = Palette::cream().resolve(dark);
        // Left of the wheel, and below the hint: plain card.
        for (const QPoint at : {QPoint(4, 200), QPoint(150, image.height() - 4)}) {
            const QColor seen = image.pixelColor(at);
            QVERIFY2(qAbs(seen.red() - cream.red()) <= 2 && qAbs(seen.green() - cream.green()) <= 2
                         && qAbs(seen.blue() - cream.blue()) <= 2,
                     qPrintable(QStringLiteral("%1 at %2,%3").arg(seen.name()).arg(at.x()).arg(at.y())));
        }
    }

    // Drawn as a translucent window would be, with no window background under it.
    void cornersStayClear()
    {
        auto content = makeContent();
        QImage image(content->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        content->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        const int w = image.width() - 1, h = image.height() - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
            QCOMPARE(image.pixelColor(corner).alpha(), 0);
        QCOMPARE(image.pixelColor(150, 2).alpha(), 255); // the card itself is opaque
    }

private:
    std::unique_ptr<Content> makeContent()
    {
        auto content = std::make_unique<Content>(
            *m_game, [this] { ++m_hides; }, [this](bool pinned) { m_pins << pinned; });
        content->show();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(content.get())); }();
        return content;
    }
    static HeaderButton *control(Content &content, const char *name)
    {
        return content.findChild<HeaderButton *>(QString::fromLatin1(name));
    }
    static AppearancePopover *openPopover(Content &content)
    {
        QTest::mouseClick(control(content, "appearance"), Qt::LeftButton);
        AppearancePopover *popover = content.appearancePopover();
        [&] { QVERIFY(popover->isVisible()); }();
        return popover;
    }
    static QRadioButton *radio(AppearancePopover &popover, const char *name)
    {
        return popover.findChild<QRadioButton *>(QString::fromLatin1(name));
    }

    std::unique_ptr<Game> m_game;
    int m_hides = 0;
    QList<bool> m_pins;
};

QTEST_MAIN(TestContent)
#include "tst_content.moc"
