<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="en">
<context>
    <name>zorvik::AppearancePopover</name>
    <message>
        <source>Appearance</source>
        <translation>Aparência</translation>
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
        <translation>Escuro</translation>
    </message>
</context>
<context>
    <name>zorvik::BetButton</name>
    <message>
        <source>Bet Red</source>
        <translation>Apostar no vermelho</translation>
    </message>
    <message>
        <source>Bet Black</source>
        <translation>Apostar no preto</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>Selecionado</translation>
    </message>
    <message>
        <source>Not selected</source>
        <translation>Não selecionado</translation>
    </message>
</context>
<context>
    <name>zorvik::Content</name>
    <message>
        <source>Hide Zorvik</source>
        <translation>Ocultar o Zorvik</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Aparência</translation>
    </message>
    <message>
        <source>Keep on top</source>
        <translation>Manter no topo</translation>
    </message>
    <message>
        <source>Disable keep on top</source>
        <translation>Não manter no topo</translation>
    </message>
    <message>
        <source>Wayland does not let a window keep itself on top</source>
        <translation>O Wayland não permite que uma janela se mantenha no topo</translation>
    </message>
    <message>
        <source>Hide — reopen from the system tray</source>
        <translation>Ocultar — reabra pela bandeja do sistema</translation>
    </message>
</context>
<context>
    <name>zorvik::HintLine</name>
    <message>
        <source>Choose a color, then flick the wheel.</source>
        <translation>Escolha uma cor e depois gire a roleta.</translation>
    </message>
</context>
<context>
    <name>zorvik::MessageText</name>
    <message>
        <source>A little moment of chance.</source>
        <extracomment>The message line before the first spin.</extracomment>
        <translation>Um pequeno momento de sorte.</translation>
    </message>
    <message>
        <source>Around it goes…</source>
        <extracomment>The message line while the wheel spins.</extracomment>
        <translation>E lá vai…</translation>
    </message>
    <message>
        <source>%1 · Green — Not this time.</source>
        <extracomment>The result line for the zero. %1 is the number.</extracomment>
        <translation>%1 · Verde — Não foi desta vez.</translation>
    </message>
    <message>
        <source>%1 · Red — You won!</source>
        <extracomment>The result line for a red number that won the bet. %1 is the number.</extracomment>
        <translation>%1 · Vermelho — Você ganhou!</translation>
    </message>
    <message>
        <source>%1 · Red — Not this time.</source>
        <extracomment>The result line for a red number that lost the bet. %1 is the number.</extracomment>
        <translation>%1 · Vermelho — Não foi desta vez.</translation>
    </message>
    <message>
        <source>%1 · Black — You won!</source>
        <extracomment>The result line for a black number that won the bet. %1 is the number.</extracomment>
        <translation>%1 · Preto — Você ganhou!</translation>
    </message>
    <message>
        <source>%1 · Black — Not this time.</source>
        <extracomment>The result line for a black number that lost the bet. %1 is the number.</extracomment>
        <translation>%1 · Preto — Não foi desta vez.</translation>
    </message>
    <message>
        <source>Red</source>
        <extracomment>The name on the red bet button.</extracomment>
        <translation>Vermelho</translation>
    </message>
    <message>
        <source>Black</source>
        <extracomment>The name on the black bet button.</extracomment>
        <translation>Preto</translation>
    </message>
</context>
<context>
    <name>zorvik::SoundControl</name>
    <message>
        <source>Click to mute or unmute. Hover to adjust volume.</source>
        <translation>Clique para ativar ou desativar o som. Passe o ponteiro por cima para ajustar o volume.</translation>
    </message>
    <message>
        <source>Unmute rolling sound</source>
        <translation>Ativar o som da bolinha</translation>
    </message>
    <message>
        <source>Mute rolling sound</source>
        <translation>Silenciar o som da bolinha</translation>
    </message>
</context>
<context>
    <name>zorvik::TrayIcon</name>
    <message>
        <source>Show Zorvik</source>
        <translation>Mostrar o Zorvik</translation>
    </message>
    <message>
        <source>Quit Zorvik</source>
        <translation>Sair do Zorvik</translation>
    </message>
</context>
<context>
    <name>zorvik::VolumeCard</name>
    <message>
        <source>Rolling sound volume</source>
        <translation>Volume do som da bolinha</translation>
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
        <translation>Roda de roleta</translation>
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
