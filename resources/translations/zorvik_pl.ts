<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl" sourcelanguage="en">
<context>
    <name>zorvik::AppearancePopover</name>
    <message>
        <source>Appearance</source>
        <translation>Wygląd</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Systemowy</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Jasny</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Ciemny</translation>
    </message>
</context>
<context>
    <name>zorvik::BetButton</name>
    <message>
        <source>Bet Red</source>
        <translation>Postaw na czerwone</translation>
    </message>
    <message>
        <source>Bet Black</source>
        <translation>Postaw na czarne</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>Wybrany</translation>
    </message>
    <message>
        <source>Not selected</source>
        <translation>Niewybrany</translation>
    </message>
</context>
<context>
    <name>zorvik::Content</name>
    <message>
        <source>Hide Zorvik</source>
        <translation>Ukryj Zorvik</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Wygląd</translation>
    </message>
    <message>
        <source>Keep on top</source>
        <translation>Trzymaj na wierzchu</translation>
    </message>
    <message>
        <source>Disable keep on top</source>
        <translation>Nie trzymaj na wierzchu</translation>
    </message>
    <message>
        <source>Wayland does not let a window keep itself on top</source>
        <translation>Wayland nie pozwala oknu utrzymać się na wierzchu</translation>
    </message>
    <message>
        <source>Hide — reopen from the system tray</source>
        <translation>Ukryj — otwórz ponownie z zasobnika systemowego</translation>
    </message>
</context>
<context>
    <name>zorvik::HintLine</name>
    <message>
        <source>Choose a color, then flick the wheel.</source>
        <translation>Wybierz kolor, a potem zakręć kołem.</translation>
    </message>
</context>
<context>
    <name>zorvik::MessageText</name>
    <message>
        <source>A little moment of chance.</source>
        <extracomment>The message line before the first spin.</extracomment>
        <translation>Mała chwila losu.</translation>
    </message>
    <message>
        <source>Around it goes…</source>
        <extracomment>The message line while the wheel spins.</extracomment>
        <translation>Kręci się…</translation>
    </message>
    <message>
        <source>%1 · Green — Not this time.</source>
        <extracomment>The result line for the zero. %1 is the number.</extracomment>
        <translation>%1 · Zielone — Nie tym razem.</translation>
    </message>
    <message>
        <source>%1 · Red — You won!</source>
        <extracomment>The result line for a red number that won the bet. %1 is the number.</extracomment>
        <translation>%1 · Czerwone — Wygrana!</translation>
    </message>
    <message>
        <source>%1 · Red — Not this time.</source>
        <extracomment>The result line for a red number that lost the bet. %1 is the number.</extracomment>
        <translation>%1 · Czerwone — Nie tym razem.</translation>
    </message>
    <message>
        <source>%1 · Black — You won!</source>
        <extracomment>The result line for a black number that won the bet. %1 is the number.</extracomment>
        <translation>%1 · Czarne — Wygrana!</translation>
    </message>
    <message>
        <source>%1 · Black — Not this time.</source>
        <extracomment>The result line for a black number that lost the bet. %1 is the number.</extracomment>
        <translation>%1 · Czarne — Nie tym razem.</translation>
    </message>
    <message>
        <source>Red</source>
        <extracomment>The name on the red bet button.</extracomment>
        <translation>Czerwone</translation>
    </message>
    <message>
        <source>Black</source>
        <extracomment>The name on the black bet button.</extracomment>
        <translation>Czarne</translation>
    </message>
</context>
<context>
    <name>zorvik::SoundControl</name>
    <message>
        <source>Click to mute or unmute. Hover to adjust volume.</source>
        <translation>Kliknij, aby wyciszyć lub włączyć dźwięk. Najedź kursorem, aby ustawić głośność.</translation>
    </message>
    <message>
        <source>Unmute rolling sound</source>
        <translation>Włącz dźwięk kulki</translation>
    </message>
    <message>
        <source>Mute rolling sound</source>
        <translation>Wycisz dźwięk kulki</translation>
    </message>
</context>
<context>
    <name>zorvik::TrayIcon</name>
    <message>
        <source>Show Zorvik</source>
        <translation>Pokaż Zorvik</translation>
    </message>
    <message>
        <source>Quit Zorvik</source>
        <translation>Zakończ Zorvik</translation>
    </message>
</context>
<context>
    <name>zorvik::VolumeCard</name>
    <message>
        <source>Rolling sound volume</source>
        <translation>Głośność dźwięku kulki</translation>
    </message>
</context>
<context>
    <name>zorvik::Wheel</name>
    <message>
        <source>Spinning</source>
        <translation>Kręci się</translation>
    </message>
</context>
<context>
    <name>zorvik::WheelAccessible</name>
    <message>
        <source>Roulette wheel</source>
        <translation>Koło ruletki</translation>
    </message>
    <message>
        <source>Spin</source>
        <translation>Zakręć</translation>
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
