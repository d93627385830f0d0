<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="en">
<context>
    <name>zorvik::AppearancePopover</name>
    <message>
        <source>Appearance</source>
        <translation>Aspetto</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Sistema</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Chiaro</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Scuro</translation>
    </message>
</context>
<context>
    <name>zorvik::BetButton</name>
    <message>
        <source>Bet Red</source>
        <translation>Punta sul rosso</translation>
    </message>
    <message>
        <source>Bet Black</source>
        <translation>Punta sul nero</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>Selezionato</translation>
    </message>
    <message>
        <source>Not selected</source>
        <translation>Non selezionato</translation>
    </message>
</context>
<context>
    <name>zorvik::Content</name>
    <message>
        <source>Hide Zorvik</source>
        <translation>Nascondi Zorvik</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Aspetto</translation>
    </message>
    <message>
        <source>Keep on top</source>
        <translation>Mantieni in primo piano</translation>
    </message>
    <message>
        <source>Disable keep on top</source>
        <translation>Non mantenere in primo piano</translation>
    </message>
    <message>
        <source>Wayland does not let a window keep itself on top</source>
        <translation>Wayland non consente a una finestra di mantenersi in primo piano</translation>
    </message>
    <message>
        <source>Hide — reopen from the system tray</source>
        <translation>Nascondi — riaprilo dall'area di notifica</translation>
    </message>
</context>
<context>
    <name>zorvik::HintLine</name>
    <message>
        <source>Choose a color, then flick the wheel.</source>
        <translation>Scegli un colore, poi fai girare la ruota.</translation>
    </message>
</context>
<context>
    <name>zorvik::MessageText</name>
    <message>
        <source>A little moment of chance.</source>
        <extracomment>The message line before the first spin.</extracomment>
        <translation>Un piccolo momento di fortuna.</translation>
    </message>
    <message>
        <source>Around it goes…</source>
        <extracomment>The message line while the wheel spins.</extracomment>
        <translation>E gira…</translation>
    </message>
    <message>
        <source>%1 · Green — Not this time.</source>
        <extracomment>The result line for the zero. %1 is the number.</extracomment>
        <translation>%1 · Verde — Stavolta no.</translation>
    </message>
    <message>
        <source>%1 · Red — You won!</source>
        <extracomment>The result line for a red number that won the bet. %1 is the number.</extracomment>
        <translation>%1 · Rosso — Hai vinto!</translation>
    </message>
    <message>
        <source>%1 · Red — Not this time.</source>
        <extracomment>The result line for a red number that lost the bet. %1 is the number.</extracomment>
        <translation>%1 · Rosso — Stavolta no.</translation>
    </message>
    <message>
        <source>%1 · Black — You won!</source>
        <extracomment>The result line for a black number that won the bet. %1 is the number.</extracomment>
        <translation>%1 · Nero — Hai vinto!</translation>
    </message>
    <message>
        <source>%1 · Black — Not this time.</source>
        <extracomment>The result line for a black number that lost the bet. %1 is the number.</extracomment>
        <translation>%1 · Nero — Stavolta no.</translation>
    </message>
    <message>
        <source>Red</source>
        <extracomment>The name on the red bet button.</extracomment>
        <translation>Rosso</translation>
    </message>
    <message>
        <source>Black</source>
        <extracomment>The name on the black bet button.</extracomment>
        <translation>Nero</translation>
    </message>
</context>
<context>
    <name>zorvik::SoundControl</name>
    <message>
        <source>Click to mute or unmute. Hover to adjust volume.</source>
        <translation>Fai clic per disattivare o riattivare l&apos;audio. Passa sopra col puntatore per regolare il volume.</translation>
    </message>
    <message>
        <source>Unmute rolling sound</source>
        <translation>Riattiva il suono della pallina</translation>
    </message>
    <message>
        <source>Mute rolling sound</source>
        <translation>Disattiva il suono della pallina</translation>
    </message>
</context>
<context>
    <name>zorvik::TrayIcon</name>
    <message>
        <source>Show Zorvik</source>
        <translation>Mostra Zorvik</translation>
    </message>
    <message>
        <source>Quit Zorvik</source>
        <translation>Esci da Zorvik</translation>
    </message>
</context>
<context>
    <name>zorvik::VolumeCard</name>
    <message>
        <source>Rolling sound volume</source>
        <translation>Volume del suono della pallina</translation>
    </message>
</context>
<context>
    <name>zorvik::Wheel</name>
    <message>
        <source>Spinning</source>
        <translation>In rotazione</translation>
    </message>
</context>
<context>
    <name>zorvik::WheelAccessible</name>
    <message>
        <source>Roulette wheel</source>
        <translation>Ruota della roulette</translation>
    </message>
    <message>
        <source>Spin</source>
        <translation>Gira</translation>
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
