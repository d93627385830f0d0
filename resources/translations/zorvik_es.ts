<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>zorvik::AppearancePopover</name>
    <message>
        <source>Appearance</source>
        <translation>Apariencia</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Sistema</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Claro</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Oscuro</translation>
    </message>
</context>
<context>
    <name>zorvik::BetButton</name>
    <message>
        <source>Bet Red</source>
        <translation>Apostar al rojo</translation>
    </message>
    <message>
        <source>Bet Black</source>
        <translation>Apostar al negro</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>Seleccionado</translation>
    </message>
    <message>
        <source>Not selected</source>
        <translation>No seleccionado</translation>
    </message>
</context>
<context>
    <name>zorvik::Content</name>
    <message>
        <source>Hide Zorvik</source>
        <translation>Ocultar Zorvik</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Apariencia</translation>
    </message>
    <message>
        <source>Keep on top</source>
        <translation>Mantener en primer plano</translation>
    </message>
    <message>
        <source>Disable keep on top</source>
        <translation>No mantener en primer plano</translation>
    </message>
    <message>
        <source>Wayland does not let a window keep itself on top</source>
        <translation>Wayland no permite que una ventana se mantenga en primer plano</translation>
    </message>
    <message>
        <source>Hide — reopen from the system tray</source>
        <translation>Ocultar — vuelve a abrirlo desde la bandeja del sistema</translation>
    </message>
</context>
<context>
    <name>zorvik::HintLine</name>
    <message>
        <source>Choose a color, then flick the wheel.</source>
        <translation>Elige un color y haz girar la rueda.</translation>
    </message>
</context>
<context>
    <name>zorvik::MessageText</name>
    <message>
        <source>A little moment of chance.</source>
        <extracomment>The message line before the first spin.</extracomment>
        <translation>Un pequeño momento de azar.</translation>
    </message>
    <message>
        <source>Around it goes…</source>
        <extracomment>The message line while the wheel spins.</extracomment>
        <translation>Ahí va…</translation>
    </message>
    <message>
        <source>%1 · Green — Not this time.</source>
        <extracomment>The result line for the zero. %1 is the number.</extracomment>
        <translation>%1 · Verde — Esta vez no.</translation>
    </message>
    <message>
        <source>%1 · Red — You won!</source>
        <extracomment>The result line for a red number that won the bet. %1 is the number.</extracomment>
        <translation>%1 · Rojo — ¡Has ganado!</translation>
    </message>
    <message>
        <source>%1 · Red — Not this time.</source>
        <extracomment>The result line for a red number that lost the bet. %1 is the number.</extracomment>
        <translation>%1 · Rojo — Esta vez no.</translation>
    </message>
    <message>
        <source>%1 · Black — You won!</source>
        <extracomment>The result line for a black number that won the bet. %1 is the number.</extracomment>
        <translation>%1 · Negro — ¡Has ganado!</translation>
    </message>
    <message>
        <source>%1 · Black — Not this time.</source>
        <extracomment>The result line for a black number that lost the bet. %1 is the number.</extracomment>
        <translation>%1 · Negro — Esta vez no.</translation>
    </message>
    <message>
        <source>Red</source>
        <extracomment>The name on the red bet button.</extracomment>
        <translation>Rojo</translation>
    </message>
    <message>
        <source>Black</source>
        <extracomment>The name on the black bet button.</extracomment>
        <translation>Negro</translation>
    </message>
</context>
<context>
    <name>zorvik::SoundControl</name>
    <message>
        <source>Click to mute or unmute. Hover to adjust volume.</source>
        <translation>Haz clic para silenciar o activar el sonido. Pasa el puntero por encima para ajustar el volumen.</translation>
    </message>
    <message>
        <source>Unmute rolling sound</source>
        <translation>Activar el sonido de la bola</translation>
    </message>
    <message>
        <source>Mute rolling sound</source>
        <translation>Silenciar el sonido de la bola</translation>
    </message>
</context>
<context>
    <name>zorvik::TrayIcon</name>
    <message>
        <source>Show Zorvik</source>
        <translation>Mostrar Zorvik</translation>
    </message>
    <message>
        <source>Quit Zorvik</source>
        <translation>Salir de Zorvik</translation>
    </message>
</context>
<context>
    <name>zorvik::VolumeCard</name>
    <message>
        <source>Rolling sound volume</source>
        <translation>Volumen del sonido de la bola</translation>
    </message>
</context>
<context>
    <name>zorvik::Wheel</name>
    <message>
        <source>Spinning</source>
        <translation>Girando</translation>
    </message>
</context>
<context>
    <name>zorvik::WheelAccessible</name>
    <message>
        <source>Roulette wheel</source>
        <translation>Rueda de ruleta</translation>
    </message>
    <message>
        <source>Spin</source>
        <translation>Girar</translation>
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
