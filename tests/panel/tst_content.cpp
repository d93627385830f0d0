// The panel content and its controls, against the real user settings in Qt's test location.
#include "game/game.h"
#include "panel/appearance_popover.h"
#include "panel/bet_button.h"
#include "panel/content.h"
#include "panel/header_button.h"
#include "panel/message_line.h"
#include "panel/move_handle.h"
#include "platform/color_scheme.h"
#include "platform/reduced_motion.h"
#include "services/settings.h"
#include "services/user_settings.h"
#include "style/fonts.h"
#include "style/palette.h"
#include "support/fakes.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace zorvik;
using namespace Qt::StringLiterals;

namespace {

const QString key = QStringLiteral("appearance");

// What another process would read from the settings file.
QVariant storedOnDisk()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Zorvik"), QStringLiteral("zorvik"))
        .value(key);
}


QString accessibleText(QWidget *widget, QAccessible::Text kind)
{
    return QAccessible::queryAccessibleInterface(widget)->text(kind);
}

// The accessible value, mirrored into the description (which is what AT-SPI carries).
QString chosenText(BetButton &button)
{
    const QString value = accessibleText(&button, QAccessible::Value);
    return value == accessibleText(&button, QAccessible::Description) ? value : QStringLiteral("(differs)");
}

} // namespace

class TestContent : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        Fonts::load();
        m_store = std::make_unique<UserSettings>();
        m_settings = std::make_unique<Settings>(*m_store);
        m_game = std::make_unique<Game>(m_fakes.services());
    }
    void init()
    {
        m_store->remove(key);
        setDesktopDark(false);
    }

    void choiceIsStoredAtOnceAndPopoverStaysOpen()
    {
        auto content = makeContent();
        QTest::mouseClick(content->findChild<HeaderButton *>(u"appearance"_s), Qt::LeftButton);
        AppearancePopover *popover = content->appearancePopover();
        QVERIFY(popover->isVisible() && content->appearanceOpen());

        QRadioButton *dark = popover->findChild<QRadioButton *>(u"dark"_s);
        QTest::mouseClick(dark, Qt::LeftButton);
        QCOMPARE(storedOnDisk(), QVariant(QStringLiteral("dark")));
        QVERIFY(content->effectiveDark() && isDarkAppearance(content.get()));
        QVERIFY(popover->isVisible() && dark->isChecked());

        QTest::mouseClick(popover->findChild<QRadioButton *>(u"system"_s), Qt::LeftButton);
        QCOMPARE(storedOnDisk(), QVariant(QStringLiteral("system")));
        QVERIFY(!isDarkAppearance(content.get()));
        // With "system" the panel follows the desktop as it changes.
        setDesktopDark(true);
        QVERIFY(isDarkAppearance(content.get()));

        popover->close();
        QVERIFY(!content->appearanceOpen());
    }

    // The window system does the moving: the grip needs no native window to be pressed.
    void gripWithoutNativeWindow()
    {
        MoveHandle grip;
        QCOMPARE(grip.cursor().shape(), Qt::OpenHandCursor);
        QTest::mouseClick(&grip, Qt::LeftButton, {}, QPoint(30, 16));
        QVERIFY(!grip.window()->windowHandle());
    }

    // Drawn as a translucent window would be, with no window background under it: clear
    // corners, and an opaque card in the colour of the setting, which wins over the desktop.
    // A value other than the three known ones follows the desktop, and stays as it is stored.
    void cardDrawing_data()
    {
        QTest::addColumn<QVariant>("stored"); // invalid: no key
        QTest::addColumn<bool>("desktopDark");
        QTest::addColumn<bool>("dark");
        QTest::newRow("light on a dark desktop") << QVariant(u"light"_s) << true << false;
        QTest::newRow("dark on a light desktop") << QVariant(u"dark"_s) << false << true;
        QTest::newRow("absent: the desktop's") << QVariant() << true << true;
        QTest::newRow("capitalised: the desktop's") << QVariant(u"Dark"_s) << false << false;
    }
    void cardDrawing()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, desktopDark);
        QFETCH(bool, dark);
        setDesktopDark(desktopDark);
        if (stored.isValid())
            m_store->setValue(key, stored);
        auto content = makeContent();
        QCOMPARE(content->effectiveDark(), dark);
        QImage image(content->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        content->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        const int w = image.width() - 1, h = image.height() - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
            QCOMPARE(image.pixelColor(corner).alpha(), 0);
        // Left of the wheel, and below the hint: plain card.
        const QColor cream = Palette::cream().resolve(dark);
        for (const QPoint at : {QPoint(4, 200), QPoint(150, h - 3)}) {
            const QColor seen = image.pixelColor(at);
            QVERIFY2(seen.alpha() == 255 && qAbs(seen.red() - cream.red()) <= 2
                         && qAbs(seen.green() - cream.green()) <= 2 && qAbs(seen.blue() - cream.blue()) <= 2,
                     qPrintable(QStringLiteral("%1 at %2,%3").arg(seen.name()).arg(at.x()).arg(at.y())));
        }
        QCOMPARE(storedOnDisk(), stored);
    }

    // The bet buttons and the message line, on a game of their own.
    void betButtonsAndMessageFollowTheGame()
    {
        Game game(m_fakes.services());
        BetButton red(game, Bet::red), black(game, Bet::black);
        MessageLine line(game);
        QCOMPARE(accessibleText(&red, QAccessible::Name), QStringLiteral("Bet Red"));
        QCOMPARE(accessibleText(&black, QAccessible::Name), QStringLiteral("Bet Black"));
        QCOMPARE(chosenText(red), QStringLiteral("Not selected"));

        QTest::mouseClick(&red, Qt::LeftButton);
        QCOMPARE(game.bet(), std::optional<Bet>(Bet::red));
        QCOMPARE(chosenText(red), QStringLiteral("Selected"));
        const QImage chosen = red.grab().toImage();

        QTest::mouseClick(&black, Qt::LeftButton);
        QTest::mouseClick(&black, Qt::LeftButton); // choosing the chosen one again keeps it
        QCOMPARE(game.bet(), std::optional<Bet>(Bet::black));
        QCOMPARE(chosenText(red), QStringLiteral("Not selected"));
        QCOMPARE(chosenText(black), QStringLiteral("Selected"));
        const QImage neutral = red.grab().toImage();
        QVERIFY(neutral != chosen);

        // A spin disables both (dimmed) and keeps the choice.
        game.start(7.0, false);
        QCOMPARE(line.text(), QStringLiteral("Around it goes\u2026"));
        QVERIFY(!red.isEnabled() && !black.isEnabled());
        QTest::mouseClick(&red, Qt::LeftButton);
        QCOMPARE(game.bet(), std::optional<Bet>(Bet::black));
        QCOMPARE(chosenText(black), QStringLiteral("Selected"));
        QVERIFY(red.grab().toImage() != neutral);
    }

    // A text too wide for the line first shrinks, down to the minimum scale, then is cut with
    // an ellipsis; it never wraps or overflows.
    void messageShrinksThenTruncates_data()
    {
        QTest::addColumn<double>("widthFactor"); // text width at full size, in line widths
        QTest::addColumn<bool>("shrinks");
        QTest::addColumn<bool>("truncated");
        QTest::newRow("fits") << 0.6 << false << false;
        QTest::newRow("a little too wide") << 1.06 << true << false;
        QTest::newRow("far too wide") << 1.6 << true << true;
    }
    void messageShrinksThenTruncates()
    {
        QFETCH(double, widthFactor);
        QFETCH(bool, shrinks);
        QFETCH(bool, truncated);
        constexpr qreal width = 280;
        const QFontMetricsF metrics(MessageLine::fit(QString(), width).font);
        const QStringList words = QStringLiteral("Around it goes and round").split(u' ');
        QString text = words[0];
        for (int i = 1; metrics.horizontalAdvance(text) < widthFactor * width; ++i)
            text += u' ' + words.at(i % words.size());

        const MessageLine::Fit fit = MessageLine::fit(text, width);
        QCOMPARE(fit.scale < 1.0, shrinks);
        QVERIFY(fit.scale >= MessageLine::minimumScale);
        QCOMPARE(fit.text != text, truncated);
        if (truncated) {
            QCOMPARE(fit.scale, MessageLine::minimumScale);
            QVERIFY(fit.text.endsWith(QChar(0x2026)));
        }
        QVERIFY(QFontMetricsF(fit.font).horizontalAdvance(fit.text) <= width);
        QVERIFY(!fit.text.contains(u'\n'));
    }

private:
    std::unique_ptr<Content> makeContent()
    {
        auto content = std::make_unique<Content>(*m_game, PanelServices{*m_settings, m_scheme, m_motion}, [] {},
                                                 [](bool) {});
        content->show();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(content.get())); }();
        return content;
    }
    void setDesktopDark(bool dark)
    {
        m_scheme.setPreference(dark ? ColorScheme::Preference::dark : ColorScheme::Preference::light);
    }

    testing::Fakes m_fakes;
    // The real file, in Qt's test location: another process reads what the popover wrote.
    std::unique_ptr<UserSettings> m_store;
    std::unique_ptr<Settings> m_settings;
    ColorScheme m_scheme; // never started: the desktop's own answer must not arrive mid-test
    ReducedMotion m_motion;
    std::unique_ptr<Game> m_game;
};

QTEST_MAIN(TestContent)
#include "tst_content.moc"
