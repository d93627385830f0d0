// The desktop colour-scheme answer as the portal and gsettings give it.
#include "platform/color_scheme.h"

#include <QDBusVariant>
#include <QSignalSpy>
#include <QtTest>

using namespace zorvik;
using Preference = ColorScheme::Preference;


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
    void portalValue_data();
    void portalValue();
    void gsettingsOutput_data();
    void gsettingsOutput();
    void explicitPreferenceSignalsOnlyChanges();
};

void TestColorScheme::portalValue_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<std::optional<Preference>>("expected");
    QTest::newRow("v(v(u)) dark") << wrapped(QVariant(1u), 2) << std::optional(Preference::dark);
    QTest::newRow("v(v(u)) light") << wrapped(QVariant(2u), 2) << std::optional(Preference::light);
    QTest::newRow("v(v(u)) none") << wrapped(QVariant(0u), 2) << std::optional(Preference::none);
    QTest::newRow("v(u) dark") << wrapped(QVariant(1u), 1) << std::optional(Preference::dark);
    QTest::newRow("v(u) light") << wrapped(QVariant(2u), 1) << std::optional(Preference::light);
    QTest::newRow("u dark") << QVariant(1u) << std::optional(Preference::dark);
    QTest::newRow("unknown number") << wrapped(QVariant(7u), 2) << std::optional(Preference::none);
    QTest::newRow("signed int") << wrapped(QVariant(1), 1) << std::optional(Preference::dark);
    QTest::newRow("negative int") << wrapped(QVariant(-1), 1) << std::optional<Preference>();
    QTest::newRow("string") << wrapped(QVariant(QStringLiteral("1")), 2) << std::optional<Preference>();
    QTest::newRow("empty variant") << wrapped(QVariant(), 1) << std::optional<Preference>();
    QTest::newRow("nothing") << QVariant() << std::optional<Preference>();
}

void TestColorScheme::portalValue()
{
    QFETCH(QVariant, value);
    QFETCH(std::optional<Preference>, expected);
    QCOMPARE(ColorScheme::fromPortalValue(value), expected);
}

void TestColorScheme::gsettingsOutput_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<std::optional<Preference>>("expected");
    QTest::newRow("prefer-dark") << QStringLiteral("'prefer-dark'\n") << std::optional(Preference::dark);
    QTest::newRow("prefer-light") << QStringLiteral("'prefer-light'\n") << std::optional(Preference::light);
    QTest::newRow("default") << QStringLiteral("'default'\n") << std::optional(Preference::none);
    QTest::newRow("unquoted") << QStringLiteral("prefer-dark\n") << std::optional<Preference>();
    QTest::newRow("no such key") << QStringLiteral("No such key \u201ccolor-scheme\u201d\n")
                                 << std::optional<Preference>();
    QTest::newRow("empty") << QString() << std::optional<Preference>();
}

void TestColorScheme::gsettingsOutput()
{
    QFETCH(QString, output);
    QFETCH(std::optional<Preference>, expected);
    QCOMPARE(ColorScheme::fromGsettings(output), expected);
}

void TestColorScheme::explicitPreferenceSignalsOnlyChanges()
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

QTEST_GUILESS_MAIN(TestColorScheme)
#include "tst_color_scheme.moc"
