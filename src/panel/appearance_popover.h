#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QGroupBox;

namespace zorvik {

class Settings;

// The bubble of the appearance control: a radio group "Appearance" with System, Light and
// Dark, bound to the "appearance" setting. A choice is written at once and the bubble stays
// open; a click anywhere else closes it, and a click on its own control closes it without
// opening it again.
class AppearancePopover : public QWidget {
    Q_OBJECT

public:
    AppearancePopover(Settings &settings, QWidget *anchor, QWidget *parent);

    // The tags of the options, in their order: "system", "light", "dark".
    static const QStringList &tags();

    // Places the bubble under the anchor and shows it with the stored choice checked.
    void open();
    // Checks the option whose tag equals the stored text exactly, or none.
    void sync();
    // Takes the panel's light or dark look.
    void applyAppearance();

    QButtonGroup *options() const { return m_options; }

signals:
    // An option was chosen; its tag is already stored.
    void chosen(const QString &tag);
    void closed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    Settings &m_settings;
    QWidget *m_anchor;
    QGroupBox *m_group;
    QButtonGroup *m_options;
};

} // namespace zorvik
