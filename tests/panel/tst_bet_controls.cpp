// The bet buttons and the message line against a real Game.
#include "game/game.h"
#include "panel/bet_button.h"
#include "panel/message_line.h"
#include "platform/fonts.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

using namespace zorvik;

class TestBetControls : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void choiceMovesBetweenButtons();
    void disabledWhileSpinning();
    void messageFollowsGame();
    void messageShrinksThenTruncates_data();
    void messageShrinksThenTruncates();
};

namespace {
QString accessibleText(QWidget *widget, QAccessible::Text kind)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(kind) : QString();
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

void TestBetControls::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    Fonts::load();
}

void TestBetControls::choiceMovesBetweenButtons()
{
    Game game;
    Row row(game);
    QCOMPARE(accessibleText(&row.red, QAccessible::Name), QStringLiteral("Bet Red"));
    QCOMPARE(accessibleText(&row.black, QAccessible::Name), QStringLiteral("Bet Black"));
    for (BetButton *button : {&row.red, &row.black}) {
        QVERIFY(!button->chosen());
        QCOMPARE(accessibleText(button, QAccessible::Value), QStringLiteral("Not selected"));
        QCOMPARE(accessibleText(button, QAccessible::Description), QStringLiteral("Not selected"));
    }

    QTest::mouseClick(&row.red, Qt::LeftButton);
    QCOMPARE(game.bet(), std::optional<Bet>(Bet::red));
    QVERIFY(row.red.chosen());
    QCOMPARE(accessibleText(&row.red, QAccessible::Value), QStringLiteral("Selected"));
    QCOMPARE(accessibleText(&row.red, QAccessible::Description), QStringLiteral("Selected"));

    // The chosen look differs from the neutral one (tinted box, outline, tick).
    const QImage chosen = row.red.grab().toImage();
    QTest::mouseClick(&row.black, Qt::LeftButton);
    QCOMPARE(game.bet(), std::optional<Bet>(Bet::black));
    QVERIFY(!row.red.chosen());
    QVERIFY(row.black.chosen());
    QCOMPARE(accessibleText(&row.red, QAccessible::Value), QStringLiteral("Not selected"));
    QCOMPARE(accessibleText(&row.black, QAccessible::Value), QStringLiteral("Selected"));
    QVERIFY(row.red.grab().toImage() != chosen);

    // Choosing the chosen one again keeps it.
    int changes = 0;
    connect(&game, &Game::changed, this, [&changes] { ++changes; });
    QTest::mouseClick(&row.black, Qt::LeftButton);
    QVERIFY(row.black.chosen());
    QVERIFY(changes > 0);
}

void TestBetControls::disabledWhileSpinning()
{
    Game game;
    Row row(game);
    const QImage enabledLook = row.red.grab().toImage();
    QTest::mouseClick(&row.black, Qt::LeftButton);
    game.start(7.0, false);
    QVERIFY(game.spinning());
    QVERIFY(!row.red.isEnabled());
    QVERIFY(!row.black.isEnabled());
    QVERIFY(row.black.chosen()); // as before the spin

    QTest::mouseClick(&row.red, Qt::LeftButton);
    QCOMPARE(game.bet(), std::optional<Bet>(Bet::black));

    // Dimmed: the red dot is paler than when the button took clicks.
    const QImage disabledLook = row.red.grab().toImage();
    QVERIFY(disabledLook != enabledLook);
}

void TestBetControls::messageFollowsGame()
{
    Game game;
    MessageLine line(game);
    QCOMPARE(line.height(), 32);
    QCOMPARE(line.text(), game.message());
    QTest::mouseClick(&line, Qt::LeftButton); // takes nothing
    game.select(Bet::red);
    game.start(7.0, false);
    QCOMPARE(line.text(), QStringLiteral("Around it goes\u2026"));
}

void TestBetControls::messageShrinksThenTruncates_data()
{
    QTest::addColumn<double>("widthFactor"); // text width at full size, in line widths
    QTest::addColumn<bool>("shrinks");
    QTest::addColumn<bool>("truncated");
    QTest::newRow("fits") << 0.6 << false << false;
    QTest::newRow("a little too wide") << 1.06 << true << false;
    QTest::newRow("far too wide") << 1.6 << true << true;
}

void TestBetControls::messageShrinksThenTruncates()
{
    QFETCH(double, widthFactor);
    QFETCH(bool, shrinks);
    QFETCH(bool, truncated);
    constexpr qreal width = 280;

    // Build a text of the wanted width from words, as a message would be.
    const QFont full = MessageLine::fit(QString(), width).font;
    const QFontMetricsF metrics(full);
    QString text;
    const QStringList words{QStringLiteral("Around"), QStringLiteral("it"), QStringLiteral("goes"),
                            QStringLiteral("and"), QStringLiteral("round")};
    for (int i = 0; metrics.horizontalAdvance(text) < widthFactor * width; ++i)
        text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + words.at(i % words.size());

    const MessageLine::Fit fit = MessageLine::fit(text, width);
    QCOMPARE(fit.scale < 1.0, shrinks);
    QVERIFY(fit.scale >= MessageLine::minimumScale);
    QCOMPARE(fit.text != text, truncated);
    if (truncated) {
        QCOMPARE(fit.scale, MessageLine::minimumScale);
        QVERIFY(fit.text.endsWith(QChar(0x2026)));
    }
    // One line: never wider than the line, never broken.
    QVERIFY(QFontMetricsF(fit.font).horizontalAdvance(fit.text) <= width);
    QVERIFY(!fit.text.contains(QLatin1Char('\n')));
}

QTEST_MAIN(TestBetControls)
#include "tst_bet_controls.moc"
