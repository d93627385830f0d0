<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>zorvik::AppearancePopover</name>
    <message>
        <source>Appearance</source>
        <translation>外観</translation>
    </message>
    <message>
        <source>System</source>
        <translation>システム</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>ライト</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>ダーク</translation>
    </message>
</context>
<context>
    <name>zorvik::BetButton</name>
    <message>
        <source>Bet Red</source>
        <translation>赤に賭ける</translation>
    </message>
    <message>
        <source>Bet Black</source>
        <translation>黒に賭ける</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>選択中</translation>
    </message>
    <message>
        <source>Not selected</source>
        <translation>未選択</translation>
    </message>
</context>
<context>
    <name>zorvik::Content</name>
    <message>
        <source>Hide Zorvik</source>
        <translation>Zorvik を隠す</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>外観</translation>
    </message>
    <message>
        <source>Keep on top</source>
        <translation>常に手前に表示</translation>
    </message>
    <message>
        <source>Disable keep on top</source>
        <translation>常に手前に表示をやめる</translation>
    </message>
    <message>
        <source>Wayland does not let a window keep itself on top</source>
        <translation>Wayland ではウィンドウを常に手前に表示できません</translation>
    </message>
    <message>
        <source>Hide — reopen from the system tray</source>
        <translation>隠す — システムトレイからまた開けます</translation>
    </message>
</context>
<context>
    <name>zorvik::HintLine</name>
    <message>
        <source>Choose a color, then flick the wheel.</source>
        <translation>色を選んで、ホイールをはじいて回しましょう。</translation>
    </message>
</context>
<context>
    <name>zorvik::MessageText</name>
    <message>
        <source>A little moment of chance.</source>
        <extracomment>The message line before the first spin.</extracomment>
        <translation>ちょっとした運試し。</translation>
    </message>
    <message>
        <source>Around it goes…</source>
        <extracomment>The message line while the wheel spins.</extracomment>
        <translation>回っています…</translation>
    </message>
    <message>
        <source>%1 · Green — Not this time.</source>
        <extracomment>The result line for the zero. %1 is the number.</extracomment>
        <translation>%1 · 緑 — 今回は残念。</translation>
    </message>
    <message>
        <source>%1 · Red — You won!</source>
        <extracomment>The result line for a red number that won the bet. %1 is the number.</extracomment>
        <translation>%1 · 赤 — 当たり！</translation>
    </message>
    <message>
        <source>%1 · Red — Not this time.</source>
        <extracomment>The result line for a red number that lost the bet. %1 is the number.</extracomment>
        <translation>%1 · 赤 — 今回は残念。</translation>
    </message>
    <message>
        <source>%1 · Black — You won!</source>
        <extracomment>The result line for a black number that won the bet. %1 is the number.</extracomment>
        <translation>%1 · 黒 — 当たり！</translation>
    </message>
    <message>
        <source>%1 · Black — Not this time.</source>
        <extracomment>The result line for a black number that lost the bet. %1 is the number.</extracomment>
        <translation>%1 · 黒 — 今回は残念。</translation>
    </message>
    <message>
        <source>Red</source>
        <extracomment>The name on the red bet button.</extracomment>
        <translation>赤</translation>
    </message>
    <message>
        <source>Black</source>
        <extracomment>The name on the black bet button.</extracomment>
        <translation>黒</translation>
    </message>
</context>
<context>
    <name>zorvik::SoundControl</name>
    <message>
        <source>Click to mute or unmute. Hover to adjust volume.</source>
        <translation>クリックでミュート／解除。ポインターを合わせると音量を調整できます。</translation>
    </message>
    <message>
        <source>Unmute rolling sound</source>
        <translation>ボールの音のミュートを解除</translation>
    </message>
    <message>
        <source>Mute rolling sound</source>
        <translation>ボールの音をミュート</translation>
    </message>
</context>
<context>
    <name>zorvik::TrayIcon</name>
    <message>
        <source>Show Zorvik</source>
        <translation>Zorvik を表示</translation>
    </message>
    <message>
        <source>Quit Zorvik</source>
        <translation>Zorvik を終了</translation>
    </message>
</context>
<context>
    <name>zorvik::VolumeCard</name>
    <message>
        <source>Rolling sound volume</source>
        <translation>ボールの音の音量</translation>
    </message>
</context>
<context>
    <name>zorvik::Wheel</name>
    <message>
        <source>Spinning</source>
        <translation>回転中</translation>
    </message>
</context>
<context>
    <name>zorvik::WheelAccessible</name>
    <message>
        <source>Roulette wheel</source>
        <translation>ルーレット盤</translation>
    </message>
    <message>
        <source>Spin</source>
        <translation>回す</translation>
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
