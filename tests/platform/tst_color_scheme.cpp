// The desktop colour-scheme answer as the portal and gsettings give it.
#include "platform/color_scheme.h"

#include <QDBusVariant>
#include <QSignalSpy>
#include <QtTest>

using namespace zorvik;
using Preference = ColorScheme::Preference;
using Answer = std::optional<Preference>;

namespace {
QVariant wrapped(const QVariant &value, int times)
{
    QVariant result = value;
    for (int i = 0; i < times; ++i)
        result = QVariant::fromValue(QDBusVariant(result));
    return result;
}
} // namespace

class TestColorScheme : public QObject {
    Q_OBJECT

private slots:
    void portalValue_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<Answer>("expected");
        QTest::newRow("v(v(u)) dark") << wrapped(1u, 2) << Answer(Preference::dark);
        QTest::newRow("v(v(u)) light") << wrapped(2u, 2) << Answer(Preference::light);
        QTest::newRow("v(v(u)) none") << wrapped(0u, 2) << Answer(Preference::none);
        QTest::newRow("v(u) light") << wrapped(2u, 1) << Answer(Preference::light);
        QTest::newRow("u dark") << QVariant(1u) << Answer(Preference::dark);
        QTest::newRow("unknown number") << wrapped(7u, 2) << Answer(Preference::none);
        QTest::newRow("signed int") << wrapped(1, 1) << Answer(Preference::dark);
        QTest::newRow("negative int") << wrapped(-1, 1) << Answer();
        QTest::newRow("string") << wrapped(QStringLiteral("1"), 2) << Answer();
        QTest::newRow("empty variant") << wrapped(QVariant(), 1) << Answer();
    }
    void portalValue()
    {
        QFETCH(QVariant, value);
        QFETCH(Answer, expected);
        QCOMPARE(ColorScheme::fromPortalValue(value), expected);
    }

    void gsettingsOutput_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<Answer>("expected");
        QTest::newRow("prefer-dark") << QStringLiteral("'prefer-dark'\n") << Answer(Preference::dark);
        QTest::newRow("prefer-light") << QStringLiteral("'prefer-light'\n") << Answer(Preference::light);
        QTest::newRow("default") << QStringLiteral("'default'\n") << Answer(Preference::none);
        QTest::newRow("unquoted") << QStringLiteral("prefer-dark\n") << Answer();
        QTest::newRow("no such key") << QStringLiteral("No such key \u201ccolor-scheme\u201d\n") << Answer();
    }
    void gsettingsOutput()
    {
        QFETCH(QString, output);
        QFETCH(Answer, expected);
        QCOMPARE(ColorScheme::fromGsettings(output), expected);
    }

    void explicitPreferenceSignalsOnlyChanges()
    {
        ColorScheme scheme; // never started: nothing else can answer
        QSignalSpy changed(&scheme, &ColorScheme::changed);
        QCOMPARE(scheme.preference(), Preference::none);
        QVERIFY(!scheme.prefersDark());
        scheme.setPreference(Preference::dark);
        QVERIFY(scheme.prefersDark());
        scheme.setPreference(Preference::dark);
        scheme.setPreference(Preference::light);
        QVERIFY(!scheme.prefersDark());
        QCOMPARE(changed.count(), 2);
    }
};

QTEST_GUILESS_MAIN(TestColorScheme)
#include "tst_color_scheme.moc"
