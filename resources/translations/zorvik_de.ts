<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>zorvik::AppearancePopover</name>
    <message>
        <source>Appearance</source>
        <translation>Erscheinungsbild</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
</context>
<context>
    <name>zorvik::BetButton</name>
    <message>
        <source>Bet </source>
        <translation>Setze auf </translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>Ausgewählt</translation>
    </message>
    <message>
        <source>Not selected</source>
        <translation>Nicht ausgewählt</translation>
    </message>
</context>
<context>
    <name>zorvik::Content</name>
    <message>
        <source>Hide — reopen from the system tray</source>
        <translation>Ausblenden — über die Systemleiste wieder öffnen</translation>
    </message>
    <message>
        <source>Hide Zorvik</source>
        <translation>Zorvik ausblenden</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Erscheinungsbild</translation>
    </message>
    <message>
        <source>Keep on top</source>
        <translation>Im Vordergrund halten</translation>
    </message>
    <message>
        <source>Disable keep on top</source>
        <translation>Nicht mehr im Vordergrund halten</translation>
    </message>
</context>
<context>
    <name>zorvik::HintLine</name>
    <message>
        <source>Choose a color, then flick the wheel.</source>
        <translation>Wähle eine Farbe und gib dem Rad einen Schwung.</translation>
    </message>
</context>
<context>
    <name>zorvik::SoundControl</name>
    <message>
        <source>Click to mute or unmute. Hover to adjust volume.</source>
        <translation>Klicke, um den Ton aus- oder einzuschalten. Zeige darauf, um die Lautstärke einzustellen.</translation>
    </message>
    <message>
        <source>Unmute rolling sound</source>
        <translation>Rollgeräusch einschalten</translation>
    </message>
    <message>
        <source>Mute rolling sound</source>
        <translation>Rollgeräusch stummschalten</translation>
    </message>
</context>
<context>
    <name>zorvik::TrayIcon</name>
    <message>
        <source>Show Zorvik</source>
        <translation>Zorvik anzeigen</translation>
    </message>
    <message>
        <source>Quit Zorvik</source>
        <translation>Zorvik beenden</translation>
    </message>
</context>
<context>
    <name>zorvik::VolumeCard</name>
    <message>
        <source>Rolling sound volume</source>
        <translation>Lautstärke des Rollgeräuschs</translation>
    </message>
</context>
<context>
    <name>zorvik::Wheel</name>
    <message>
        <source>Spinning</source>
        <translation>Dreht sich</translation>
    </message>
</context>
<context>
    <name>zorvik::WheelAccessible</name>
    <message>
        <source>Roulette wheel</source>
        <translation>Roulettekessel</translation>
    </message>
    <message>
        <source>Spin</source>
        <translation>Drehen</translation>
    </message>
</context>
<context>
    <name>zorvik::WheelPainter</name>
    <message>
        <source>zorvik</source>
        <translation>zorvik</translation>
    </message>
</context>
</TS>
