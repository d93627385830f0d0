// The panel's fixed texts in German. The panel as the user meets it (the appearance, the sound
// control and its volume card, the bets): tests/sound/tst_sound_control.cpp and the end-to-end scripts.
#include "support/fakes.h"

#include "panel/content.h"
#include "panel/hint_line.h"
#include "panel/sound_control.h"
#include "platform/color_scheme.h"
#include "platform/reduced_motion.h"
#include "platform/translations.h"
#include "wheel/wheel.h"

#include <QAccessible>
#include <QtTest>

using namespace zorvik;
using namespace Qt::StringLiterals;

class TestPanel : public QObject {
    Q_OBJECT

private slots:
    // Tooltips, accessible names and the hint in German, which Austria takes too (the English
    // keys: tests/e2e).
    void fixedTexts()
    {
        QLocale::setDefault(QLocale(u"de_AT"_s));
        QVERIFY(Translations::install());
        Content content(m_game, {m_fakes.typedSettings, m_scheme, m_motion}, {}, {});
        const auto widget = [&](const QString &name) { return content.findChild<QWidget *>(name); };
        QCOMPARE((QStringList{widget(u"hide"_s)->toolTip(), widget(u"hide"_s)->accessibleName(),
                              widget(u"appearance"_s)->toolTip(), widget(u"pin"_s)->accessibleName(),
                              content.findChild<SoundControl *>()->accessibleName(),
                              widget(u"betRed"_s)->accessibleName(),
                              QAccessible::queryAccessibleInterface(content.findChild<Wheel *>())->text(QAccessible::Name),
                              content.findChild<HintLine *>()->text()}),
                 (QStringList{u"Ausblenden — über die Systemleiste wieder öffnen"_s, u"Zorvik ausblenden"_s,
                              u"Erscheinungsbild"_s, u"Nicht mehr im Vordergrund halten"_s,
                              u"Rollgeräusch stummschalten"_s, u"Setze auf Red"_s, u"Roulettekessel"_s,
                              u"Wähle eine Farbe und gib dem Rad einen Schwung."_s}));
    }

private:
    testing::Fakes m_fakes;
    ColorScheme m_scheme; // never started: the desktop's own answer must not arrive mid-test
    ReducedMotion m_motion;
    Game m_game{m_fakes.services()};
};

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
