// The bet buttons and the message line against a real Game.
#include "game/game.h"
#include "panel/bet_button.h"
#include "panel/message_line.h"
#include "platform/fonts.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QStandardPaths>
#include <QtTest>

using namespace zorvik;

namespace {

QString accessibleText(QWidget *widget, QAccessible::Text kind)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(kind) : QString();
}

// The accessible value, mirrored into the description (which is what AT-SPI carries).
QString chosenText(BetButton &button)
{
    const QString value = accessibleText(&button, QAccessible::Value);
    return value == accessibleText(&button, QAccessible::Description) ? value : QStringLiteral("(differs)");
}

struct Row {
    explicit Row(Game &game) : red(game, Bet::red), black(game, Bet::black)
    {
        red.resize(130, 36);
        black.resize(130, 36);
    }
    BetButton red;
    BetButton black;
};

} // namespace

class TestBetControls : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        Fonts::load();
    }

    void choiceMovesBetweenButtons()
    {
        Game game;
        Row row(game);
        QCOMPARE(accessibleText(&row.red, QAccessible::Name), QStringLiteral("Bet Red"));
        QCOMPARE(accessibleText(&row.black, QAccessible::Name), QStringLiteral("Bet Black"));
        QCOMPARE(chosenText(row.red), QStringLiteral("Not selected"));
        QCOMPARE(chosenText(row.black), QStringLiteral("Not selected"));

        QTest::mouseClick(&row.red, Qt::LeftButton);
        QCOMPARE(game.bet(), std::optional<Bet>(Bet::red));
        QVERIFY(row.red.chosen() && !row.black.chosen());
        QCOMPARE(chosenText(row.red), QStringLiteral("Selected"));
        // The chosen look differs from the neutral one.
        const QImage chosen = row.red.grab().toImage();

        QTest::mouseClick(&row.black, Qt::LeftButton);
        QCOMPARE(game.bet(), std::optional<Bet>(Bet::black));
        QVERIFY(!row.red.chosen() && row.black.chosen());
        QCOMPARE(chosenText(row.red), QStringLiteral("Not selected"));
        QCOMPARE(chosenText(row.black), QStringLiteral("Selected"));
        QVERIFY(row.red.grab().toImage() != chosen);

        // Choosing the chosen one again keeps it.
        QTest::mouseClick(&row.black, Qt::LeftButton);
        QVERIFY(row.black.chosen());
    }

    void disabledWhileSpinning()
    {
        Game game;
        Row row(game);
        const QImage enabledLook = row.red.grab().toImage();
        QTest::mouseClick(&row.black, Qt::LeftButton);
        game.start(7.0, false);
        QVERIFY(game.spinning());
        QVERIFY(!row.red.isEnabled() && !row.black.isEnabled());
        QVERIFY(row.black.chosen());
        QTest::mouseClick(&row.red, Qt::LeftButton);
        QCOMPARE(game.bet(), std::optional<Bet>(Bet::black));
        QVERIFY(row.red.grab().toImage() != enabledLook); // dimmed
    }

    void messageFollowsGame()
    {
        Game game;
        MessageLine line(game);
        QCOMPARE(line.height(), 32);
        QCOMPARE(line.text(), game.message());
        game.select(Bet::red);
        game.start(7.0, false);
        QCOMPARE(line.text(), QStringLiteral("Around it goes\u2026"));
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
};

QTEST_MAIN(TestBetControls)
#include "tst_bet_controls.moc"
